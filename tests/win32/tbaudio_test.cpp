// The converter program as Tavlo starts it: its answers to inputs it must refuse, and what it
// does with a proper recording (encoded where the system has an MP3 encoder, refused cleanly
// where it has none, as under Wine).
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "tbaudio/tbaudio.h"
#include "test_paths.h"

namespace {

void Put(std::string& s, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; i++) s += char((value >> (8 * i)) & 0xFF);
}

// A wave file of one second of a 440 Hz tone.
std::string Tone(int channels, int rate, int bits = 16) {
    int align = channels * bits / 8;
    std::string samples;
    for (int i = 0; i < rate; i++) {
        int16_t v = int16_t(8000 * std::sin(2 * 3.14159265 * 440 * i / rate));
        for (int c = 0; c < channels; c++) Put(samples, uint16_t(v), bits / 8);
    }
    std::string file = "RIFF";
    Put(file, uint32_t(36 + samples.size()), 4);
    file += "WAVEfmt ";
    Put(file, 16, 4);
    Put(file, 1, 2);
    Put(file, channels, 2);
    Put(file, rate, 4);
    Put(file, rate * align, 4);
    Put(file, align, 2);
    Put(file, bits, 2);
    file += "data";
    Put(file, uint32_t(samples.size()), 4);
    return file + samples;
}

class TBAudioTest : public ::testing::Test {
  protected:
    void SetUp() override {
        converter_ = BuildFolder() + "\\Tavlo\\TBAudio\\TBAudio.exe";
        ASSERT_TRUE(FileExists(converter_)) << converter_;
        folder_ = ScratchFolder("tbaudio_test");
        output_ = folder_ + "\\出力 ファイル.mp3";
    }
    void TearDown() override { RemoveTree(folder_); }

    // Runs the converter hidden with the arguments given, as Tavlo does; its exit code.
    DWORD Run(const std::string& arguments) {
        std::string command = "\"" + converter_ + "\" " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(
                nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return 0xFFFFFFFF;
        WaitForSingleObject(process.hProcess, 60000);
        DWORD code = 0xFFFFFFFF;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return code;
    }

    DWORD Convert(const std::string& input) { return Run("\"" + input + "\" \"" + output_ + "\""); }

    void ExpectNoOutput() {
        EXPECT_FALSE(FileExists(output_));
        EXPECT_FALSE(FileExists(output_ + ".part"));
    }

    std::string converter_, folder_, output_;
};

TEST_F(TBAudioTest, RefusesInputThatIsNotTheRecordingsPcmAndWritesNothing) {
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"text",  "本文です。"},
        {       "16 kHz mono, the wave setting's format", Tone(1,                  16000)},
        { "8-bit",                              Tone(2,                      44100, 8)},
        {                 "no samples",                               Tone(2,                     44100).substr(0, 44)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string input = folder_ + "\\in.wav";
        WriteBytes(input, c.bytes);
        EXPECT_EQ(DWORD(TBAudioBadInput), Convert(input));
        ExpectNoOutput();
    }
    EXPECT_EQ(DWORD(TBAudioBadInput), Convert(folder_ + "\\missing.wav"));
    ExpectNoOutput();
    EXPECT_EQ(DWORD(TBAudioUsage), Run("\"" + folder_ + "\\in.wav\""));
    EXPECT_EQ(DWORD(TBAudioUsage), Run("\"a.wav\" \"b.mp3\" \"c\""));
}

TEST_F(TBAudioTest, ARecordingIsEncodedOrRefusedWhereNoEncoderExists) {
    std::string input = folder_ + "\\録音.wav";
    WriteBytes(input, Tone(2, 44100));
    WriteBytes(output_, "an earlier file");
    DWORD code = Convert(input);
    if (code == TBAudioNoEncoder) {
        // Wine has none: the earlier file stays as it was and nothing else is written.
        EXPECT_EQ("an earlier file", FileBytes(output_));
        EXPECT_FALSE(FileExists(output_ + ".part"));
        RecordProperty("encoder", "none");
        return;
    }
    ASSERT_EQ(DWORD(TBAudioDone), code);
    std::string mp3 = FileBytes(output_);
    ASSERT_GT(mp3.size(), 4000u);  // about 16,000 bytes for one second at 128 kbit/s
    EXPECT_TRUE(mp3.compare(0, 3, "ID3") == 0 ||
                (uint8_t(mp3[0]) == 0xFF && (uint8_t(mp3[1]) & 0xE0) == 0xE0));
    EXPECT_TRUE(FileExists(input));
}

}  // namespace
