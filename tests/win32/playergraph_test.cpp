// The player's DirectShow graph on a WAV file written by the test: rendering, playing,
// the position moving, seeking, the end of the file through the player loop, and the
// addresses it cannot render.
#include "recording/playergraph.h"

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// G.711 mu-law of a 16-bit sample.
uint8_t MuLaw(int16_t sample) {
    const int bias = 0x84;
    int magnitude = sample < 0 ? -sample : sample;
    if (magnitude > 32635) magnitude = 32635;
    magnitude += bias;
    int exponent = 7;
    for (int mask = 0x4000; exponent > 0 && !(magnitude & mask); mask >>= 1) --exponent;
    const int mantissa = (magnitude >> (exponent + 3)) & 0x0F;
    return static_cast<uint8_t>(~((sample < 0 ? 0x80 : 0) | (exponent << 4) | mantissa));
}

// A mono WAV of a 440 Hz tone: 16-bit PCM, or 8-bit mu-law, which needs a decoder.
std::vector<char> ToneWave(double seconds, bool muLaw = false) {
    const uint32_t rate = 8000;
    const uint32_t samples = static_cast<uint32_t>(seconds * rate);
    const uint32_t bytesPerSample = muLaw ? 1 : 2;
    const uint32_t dataSize = samples * bytesPerSample;
    std::vector<char> wave;
    auto put = [&wave](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) wave.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    wave.insert(wave.end(), {'R', 'I', 'F', 'F'});
    put(36 + dataSize, 4);
    wave.insert(wave.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put(16, 4);
    put(muLaw ? 7 : 1, 2);  // mu-law or PCM
    put(1, 2);              // mono
    put(rate, 4);
    put(rate * bytesPerSample, 4);
    put(bytesPerSample, 2);
    put(8 * bytesPerSample, 2);
    wave.insert(wave.end(), {'d', 'a', 't', 'a'});
    put(dataSize, 4);
    for (uint32_t i = 0; i < samples; ++i) {
        const auto sample = static_cast<int16_t>(8000 * std::sin(i * 2 * 3.14159265 * 440 / rate));
        if (muLaw)
            put(MuLaw(sample), 1);
        else
            put(static_cast<uint16_t>(sample), 2);
    }
    return wave;
}

std::wstring WriteTemp(const wchar_t* name, const std::vector<char>& bytes) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

class PlayerGraphTest : public ::testing::Test {
  protected:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }
};

TEST_F(PlayerGraphTest, WaveFilePlaysSeeksAndStops) {
    const std::wstring path = WriteTemp(L"tavlo-tone.wav", ToneWave(3.0));
    PlayerGraph graph;
    ASSERT_TRUE(graph.Open(path.c_str()));
    EXPECT_NEAR(graph.Duration(), 3.0, 0.05);
    EXPECT_NEAR(graph.Position(), 0.0, 0.05);

    graph.Run();
    Sleep(1200);
    const double played = graph.Position();
    EXPECT_GT(played, 0.8);
    EXPECT_LT(played, 2.0);

    // Stopped, the position stays where the playback was, and a seek moves it without playing.
    graph.Stop();
    Sleep(300);
    EXPECT_NEAR(graph.Position(), played, 0.3);
    graph.SetPosition(0.5);
    Sleep(300);
    EXPECT_NEAR(graph.Position(), 0.5, 0.1);
    graph.Run();
    Sleep(500);
    EXPECT_GT(graph.Position(), 0.7);
    graph.Stop();
    DeleteFileW(path.c_str());
}

void Record(const char* text, void* context) {
    static_cast<std::vector<std::string>*>(context)->push_back(text);
}

TEST_F(PlayerGraphTest, ThePlayerLoopHearsTheEndOnceAndWaitsAtTheBeginning) {
    const std::wstring path = WriteTemp(L"tavlo-end.wav", ToneWave(2.0));
    PlayerGraph graph;
    ASSERT_TRUE(graph.Open(path.c_str()));
    const double duration = graph.Duration();
    graph.SetPosition(1.5);
    PlayState = PlayPlaying;
    PlayerCommand = PlayerNoCommand;
    std::vector<std::string> heard;
    for (int tick = 0; tick < 300 && PlayState.load() == PlayPlaying; ++tick) {
        Sleep(10);
        ASSERT_TRUE(PlayerTick(graph, duration, Record, &heard));
    }
    EXPECT_EQ(PlayState.load(), PlayStopped);
    EXPECT_EQ(heard, std::vector<std::string>{"再生完了"});
    EXPECT_NEAR(graph.Position(), 0.0, 0.05);

    PlayerCommand = PlayerSayPosition;
    ASSERT_TRUE(PlayerTick(graph, duration, Record, &heard));
    EXPECT_EQ(heard.back(), "再生位置 0分0秒");
    PlayState = PlayClosed;
    EXPECT_FALSE(PlayerTick(graph, duration, Record, &heard));
    DeleteFileW(path.c_str());
}

// A WAV the audio renderer cannot take as it comes still plays, through a decoder the graph
// finds itself.
TEST_F(PlayerGraphTest, EncodedWaveFileFindsItsDecoder) {
    const std::wstring path = WriteTemp(L"tavlo-mulaw.wav", ToneWave(2.0, true));
    PlayerGraph graph;
    ASSERT_TRUE(graph.Open(path.c_str()));
    EXPECT_NEAR(graph.Duration(), 2.0, 0.05);
    graph.Run();
    Sleep(800);
    EXPECT_GT(graph.Position(), 0.4);
    graph.Stop();
    DeleteFileW(path.c_str());
}

TEST_F(PlayerGraphTest, AddressesThatAreNoAudioAreNotRendered) {
    PlayerGraph missing;
    EXPECT_FALSE(missing.Open(L"C:\\no\\such\\file.wav"));
    EXPECT_EQ(missing.Duration(), 0.0);

    const std::string page = "<html><body>not audio</body></html>";
    const std::wstring path = WriteTemp(L"tavlo-page.wav", std::vector<char>(page.begin(), page.end()));
    PlayerGraph text;
    EXPECT_FALSE(text.Open(path.c_str()));
    DeleteFileW(path.c_str());

    PlayerGraph empty;
    EXPECT_FALSE(empty.Open(L""));
}

}  // namespace
