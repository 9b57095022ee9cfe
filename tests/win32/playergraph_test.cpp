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

// A mono 16-bit WAV of a 440 Hz tone.
std::vector<char> ToneWave(double seconds) {
    const uint32_t rate = 8000;
    const uint32_t samples = static_cast<uint32_t>(seconds * rate);
    const uint32_t dataSize = samples * 2;
    std::vector<char> wave;
    auto put = [&wave](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) wave.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    wave.insert(wave.end(), {'R', 'I', 'F', 'F'});
    put(36 + dataSize, 4);
    wave.insert(wave.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put(16, 4);
    put(1, 2);  // PCM
    put(1, 2);  // mono
    put(rate, 4);
    put(rate * 2, 4);
    put(2, 2);
    put(16, 2);
    wave.insert(wave.end(), {'d', 'a', 't', 'a'});
    put(dataSize, 4);
    for (uint32_t i = 0; i < samples; ++i)
        put(static_cast<uint16_t>(static_cast<int16_t>(8000 * std::sin(i * 2 * 3.14159265 * 440 / rate))), 2);
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
