// The conversion worker with a stand-in for the speech library (which cannot render here)
// and the converter stand-in: what is rendered with which settings, how the converter is
// started, and which files are left after success, failures and an abort.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "library/settings.h"
#include "recording/convert.h"
#include "recording/recordsummary.h"
#include "resources/resource.h"
#include "test_paths.h"

namespace {

struct RenderCall {
    std::wstring wave, text;
    HWND owner;
    int voice, volume, rate, pitch, formatCode;
};
std::vector<RenderCall> RenderCalls;

// A wave header over the text's UTF-16 bytes: enough for the converter stand-in to copy.
std::string WaveWith(const std::wstring& text) {
    std::string samples(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    std::string header = "RIFF....WAVEfmt ";
    header += std::string("\x10\0\0\0\x01\0\x02\0\x44\xAC\0\0\x10\xB1\x02\0\x04\0\x10\0", 20);
    header += "data....";
    return header + samples;
}

// Renders nothing for a text holding "描けない"; a text holding "中断" stands for the user
// closing the progress dialog while it is rendered.
int __cdecl FakeRecSapi(const wchar_t* wave, const wchar_t* text, HWND owner, int voice, int volume, int rate,
                        int pitch, int, int, int, int formatCode) {
    RenderCalls.push_back({wave, text, owner, voice, volume, rate, pitch, formatCode});
    std::wstring body = text;
    if (body.find(L"中断") != std::wstring::npos) InterlockedExchange(&AbortRequest, 1);
    if (body.find(L"描けない") != std::wstring::npos) return 1;
    HANDLE file = CreateFileW(wave, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string bytes = WaveWith(body);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return 1;
}

std::vector<int> Outcomes;
bool Ended = false;
int EndedByAbort = 0;

LRESULT CALLBACK DialogStandIn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_RECORDING_ITEM_DONE) {
        Outcomes.push_back(HIWORD(wParam));
        return 0;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_RECORDING_FINISHED) {
        Ended = true;
        EndedByAbort = HIWORD(wParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string Utf8FromSjis(const std::string& sjis) {
    int units = MultiByteToWideChar(932, 0, sjis.c_str(), -1, nullptr, 0);
    std::wstring wide(units, L'\0');
    MultiByteToWideChar(932, 0, sjis.c_str(), -1, &wide[0], units);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &utf8[0], bytes, nullptr, nullptr);
    utf8.resize(bytes - 1);
    return utf8;
}

std::wstring WideFromSjis(const std::string& sjis) {
    int units = MultiByteToWideChar(932, 0, sjis.c_str(), -1, nullptr, 0);
    std::wstring wide(units, L'\0');
    MultiByteToWideChar(932, 0, sjis.c_str(), -1, &wide[0], units);
    wide.resize(units - 1);
    return wide;
}

class ConvertTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string converter = BuildFolder() + "\\doubles-converter\\TBAudio.exe";
        ASSERT_TRUE(FileExists(converter)) << converter;
        root_ = ScratchFolder(std::string("convert_") +
                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        data_ = root_ + "\\data";
        program_ = root_ + "\\program";
        for (const std::string& folder :
             {data_, data_ + "\\NewsText", data_ + "\\mp3", program_, program_ + "\\TBAudio"})
            CreateDirectoryA(folder.c_str(), nullptr);
        ASSERT_TRUE(CopyFileA(converter.c_str(), (program_ + "\\TBAudio\\TBAudio.exe").c_str(), FALSE));
        log_ = root_ + "\\converter.log";
        control_ = root_ + "\\control";
        SetEnvironmentVariableA("TAVLO_CONVERTER_LOG", log_.c_str());
        SetEnvironmentVariableA("TAVLO_SR_CONTROL", control_.c_str());

        savedSettings_ = Settings;
        savedSpeech_ = RecordingSpeech;
        RecordingSpeech.RecSAPI = FakeRecSapi;
        Settings.RecordVoice = 2;
        Settings.RecordVolume = 4;
        Settings.RecordRate = 15;
        Settings.RecordPitch = 3;
        Settings.RecordFormat = 0;
        RenderCalls.clear();
        Outcomes.clear();
        Ended = false;

        WNDCLASSA wc = {};
        wc.lpfnWndProc = DialogStandIn;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ConvertTestDialog";
        RegisterClassA(&wc);
        dialog_ = CreateWindowA("ConvertTestDialog",
                                "",
                                WS_OVERLAPPEDWINDOW,
                                0,
                                0,
                                300,
                                200,
                                nullptr,
                                nullptr,
                                wc.hInstance,
                                nullptr);
        list_ = CreateWindowA("LISTBOX",
                              "",
                              WS_CHILD,
                              0,
                              0,
                              200,
                              100,
                              dialog_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_RECORDING_LIST)),
                              wc.hInstance,
                              nullptr);
        ASSERT_TRUE(dialog_ && list_);
    }

    void TearDown() override {
        DestroyWindow(dialog_);
        Settings = savedSettings_;
        RecordingSpeech = savedSpeech_;
        SetEnvironmentVariableA("TAVLO_CONVERTER_LOG", nullptr);
        SetEnvironmentVariableA("TAVLO_SR_CONTROL", nullptr);
        RemoveTree(root_);
    }

    void Reserve(const std::string& name, const std::string& bytes) {
        WriteBytes(TextPath(name), bytes);
        SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }

    // Starts the worker and handles what it sends until it has ended.
    void Convert() {
        ASSERT_TRUE(StartConversion(dialog_, data_.c_str(), program_.c_str()));
        auto start = std::chrono::steady_clock::now();
        while (!Ended) {
            ASSERT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30)) << "no end message";
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }

    std::string TextPath(const std::string& name) { return data_ + "\\NewsText\\" + name + ".txt"; }
    std::string WavePath(const std::string& name) { return data_ + "\\mp3\\" + name + ".wav"; }
    std::string Mp3Path(const std::string& name) { return data_ + "\\mp3\\" + name + ".mp3"; }
    // What the converter stand-in logged: "<command line>\t<show>\n" for each run.
    std::string ConverterRuns() {
        std::string runs, log = FileBytes(log_);
        for (size_t at = 0; at < log.size();) {
            size_t end = log.find('\n', at);
            std::string line = log.substr(at, end - at);
            at = end == std::string::npos ? log.size() : end + 1;
            size_t text = line.find('\t', line.find('\t', line.find('\t') + 1) + 1) + 1;
            size_t detail = line.find('\t', text);
            for (size_t i = text; i < detail; i++) {
                if (line[i] == '\\') i++;  // the log doubles backslashes
                runs += line[i];
            }
            runs += line.substr(detail) + "\n";
        }
        return runs;
    }
    std::string ConverterRun(const std::string& name) {
        return Utf8FromSjis("\"" + program_ + "\\TBAudio\\TBAudio.exe\" \"" + WavePath(name) + "\" \"" +
                            Mp3Path(name) + "\"") +
               "\t0\n";  // started hidden
    }

    std::string root_, data_, program_, log_, control_;
    HWND dialog_ = nullptr, list_ = nullptr;
    SettingsRecord savedSettings_{};
    RecordingSpeechCalls savedSpeech_{};
};

TEST_F(ConvertTest, EachReservationBecomesOneMp3FileThroughTheConverter) {
    // As written from the body view (a zero byte, then whatever the buffer held), as copied
    // from the scrapbook with a title line (no zero byte), and a name with full-width forms.
    Reserve("一つ目の記事", std::string("見出し\r\n本文です。") + std::string("\0stale", 6));
    Reserve("表示の不具合", "表示の不具合\n本文");
    Reserve("A／B？ 3．5％", "c");
    Convert();

    ASSERT_EQ(3u, RenderCalls.size());
    const char* names[] = {"一つ目の記事", "表示の不具合", "A／B？ 3．5％"};
    const char* texts[] = {"見出し\r\n本文です。", "表示の不具合\n本文", "c"};
    for (int i = 0; i < 3; i++) {
        SCOPED_TRACE(names[i]);
        const RenderCall& call = RenderCalls[i];
        EXPECT_EQ(WideFromSjis(WavePath(names[i])), call.wave);
        EXPECT_EQ(WideFromSjis(texts[i]), call.text);
        EXPECT_EQ(dialog_, call.owner);
        EXPECT_EQ(2, call.voice);
        EXPECT_EQ(20, call.volume);  // step 4 of five per cent
        EXPECT_EQ(5, call.rate);
        EXPECT_EQ(-7, call.pitch);
        EXPECT_EQ(24, call.formatCode);
        EXPECT_EQ(WaveWith(call.text), FileBytes(Mp3Path(names[i])));
        EXPECT_FALSE(FileExists(WavePath(names[i])));
        EXPECT_FALSE(FileExists(TextPath(names[i])));
        ASSERT_LT(size_t(i), Outcomes.size());
        EXPECT_EQ(ReservationConverted, Outcomes[i]);
    }
    EXPECT_EQ(ConverterRun(names[0]) + ConverterRun(names[1]) + ConverterRun(names[2]), ConverterRuns());
    EXPECT_EQ(0, EndedByAbort);
    EXPECT_EQ(3, LastConversion.total);
    EXPECT_FALSE(ConversionFailed(LastConversion));
}

TEST_F(ConvertTest, TheWaveFormatKeepsTheWaveFileAndStartsNoConverter) {
    Settings.RecordFormat = 1;
    Reserve("ニュース", "本文");
    Convert();
    ASSERT_EQ(1u, RenderCalls.size());
    EXPECT_EQ(11, RenderCalls[0].formatCode);
    EXPECT_EQ(WaveWith(L"本文"), FileBytes(WavePath("ニュース")));
    EXPECT_FALSE(FileExists(TextPath("ニュース")));
    EXPECT_FALSE(FileExists(log_));
    EXPECT_FALSE(ConversionFailed(LastConversion));
}

TEST_F(ConvertTest, WithoutAnMp3FileTheWaveFileStaysAndTheItemCountsAsFailed) {
    struct Case {
        const char* control;
        bool removeConverter;
    } cases[] = {
        {"converter_exit=1\nconverter_writes=0\n", false}, // fails
        {"converter_exit=0\nconverter_writes=0\n", false}, // says it worked, writes nothing
        {"",                                       true }, // not there at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        WriteBytes(control_, c.control);
        if (c.removeConverter) DeleteFileA((program_ + "\\TBAudio\\TBAudio.exe").c_str());
        Ended = false;
        Outcomes.clear();
        Reserve("記事", "本文");
        Convert();
        ASSERT_EQ(1u, Outcomes.size());
        EXPECT_EQ(ReservationNotConverted, Outcomes[0]);
        EXPECT_EQ(WaveWith(L"本文"), FileBytes(WavePath("記事")));
        EXPECT_FALSE(FileExists(Mp3Path("記事")));
        EXPECT_FALSE(FileExists(TextPath("記事")));
        EXPECT_EQ(1, LastConversion.notConverted);
        EXPECT_TRUE(ConversionFailed(LastConversion));
        SendMessageA(list_, LB_RESETCONTENT, 0, 0);
        DeleteFileA(WavePath("記事").c_str());
    }
}

TEST_F(ConvertTest, AnAbortStopsAfterTheArticleInProgressAndKeepsTheRest) {
    Reserve("一", "一つ目");
    Reserve("二", "二つ目、ここで中断");
    Reserve("三", "三つ目");
    Convert();
    EXPECT_EQ(1, EndedByAbort);
    EXPECT_EQ(0, AbortRequest);
    EXPECT_EQ(2u, RenderCalls.size());
    // The first is done; the second's wave file is kept without going through the converter;
    // the third is still reserved.
    EXPECT_TRUE(FileExists(Mp3Path("一")));
    EXPECT_EQ(WaveWith(L"二つ目、ここで中断"), FileBytes(WavePath("二")));
    EXPECT_FALSE(FileExists(TextPath("二")));
    EXPECT_FALSE(FileExists(Mp3Path("二")));
    EXPECT_EQ("三つ目", FileBytes(TextPath("三")));
    EXPECT_EQ(ConverterRun("一"), ConverterRuns());
    ASSERT_EQ(2u, Outcomes.size());
    EXPECT_EQ(ReservationStoppedAsWave, Outcomes[1]);
}

TEST_F(ConvertTest, AReservationThatRendersNothingStaysReserved) {
    // A wave file of the same name from an earlier run, which the failed rendering leaves alone.
    WriteBytes(WavePath("描けない記事"), "earlier wave");
    Reserve("描けない記事", "描けない");
    Reserve("次の記事", "次");
    Convert();
    ASSERT_EQ(2u, Outcomes.size());
    EXPECT_EQ(ReservationNotRecorded, Outcomes[0]);
    EXPECT_EQ("描けない", FileBytes(TextPath("描けない記事")));
    EXPECT_EQ("earlier wave", FileBytes(WavePath("描けない記事")));
    EXPECT_FALSE(FileExists(Mp3Path("描けない記事")));
    EXPECT_EQ(ReservationConverted, Outcomes[1]);
    EXPECT_EQ(ConverterRun("次の記事"), ConverterRuns());
    EXPECT_EQ(2, LastConversion.total);
    EXPECT_EQ(1, LastConversion.notRecorded);
    EXPECT_EQ(0, LastConversion.notConverted);
}

std::atomic<int> Inside{0}, MostInside{0};

int __cdecl OverlapProbe(const wchar_t*, const wchar_t*, HWND, int, int, int, int, int, int, int, int) {
    int now = ++Inside;
    int most = MostInside;
    while (now > most && !MostInside.compare_exchange_weak(most, now)) {
    }
    Sleep(2);
    --Inside;
    return 1;
}

TEST_F(ConvertTest, TheSpeechLibraryIsNeverEnteredTwiceAtOnce) {
    // As a voice test started while a conversion runs.
    RecordingSpeech.RecSAPI = OverlapProbe;
    RecordingVoiceArgs args = RecordingArgs(0, 20, 10, 10, 1);
    std::string wave = data_ + "\\Test.wav";
    auto render = [&] {
        for (int i = 0; i < 25; i++)
            RenderWaveFile(wave.c_str(), "この音声でニュース録音を行います", nullptr, args);
    };
    std::thread voiceTest(render), conversion(render);
    voiceTest.join();
    conversion.join();
    EXPECT_EQ(1, MostInside.load());
}

}  // namespace
