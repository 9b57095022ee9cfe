// The player thread on a WAV file and on the local site's stream: playing, the position
// announced, the stream fetched into the data folder and removed after, the failures
// announced, and repeated openings that leave no handle or thread behind.
#include "recording/playerthread.h"

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "recording/playergraph.h"
#include "testing/doubles/processcounts.h"

namespace {

struct Heard {
    std::mutex lock;
    std::vector<std::string> texts;
    std::vector<std::string> Copy() {
        std::lock_guard<std::mutex> hold(lock);
        return texts;
    }
};

void Record(const char* text, void* context) {
    Heard& heard = *static_cast<Heard*>(context);
    std::lock_guard<std::mutex> hold(heard.lock);
    heard.texts.push_back(text);
}

std::string TempFolder() {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "tavlo-player";
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

template <class Condition>
bool WaitUntil(Condition condition, DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += 20) {
        if (condition()) return true;
        Sleep(20);
    }
    return condition();
}

class PlayerThreadTest : public ::testing::Test {
  protected:
    // Opens the player on address as the dialog does.
    HANDLE Open(const std::string& address) {
        auto request = std::make_unique<PlayerRequest>();
        snprintf(request->address, sizeof request->address, "%s", address.c_str());
        snprintf(request->dataFolder, sizeof request->dataFolder, "%s", folder_.c_str());
        PlayState = PlayStopped;
        PlayerCommand = PlayerNoCommand;
        PlayerDuration = 0;
        request->session = ++PlayerSession;
        request->speak = Record;
        request->context = &heard_;
        HANDLE thread = nullptr;
        EXPECT_TRUE(StartPlayerThread(std::move(request), &thread));
        return thread;
    }
    // Closes it as the dialog does; true when the thread ended within a second.
    static bool Close(HANDLE thread) {
        PlayState = PlayClosed;
        const bool ended = WaitForSingleObject(thread, 1000) == WAIT_OBJECT_0;
        CloseHandle(thread);
        return ended;
    }
    static bool Playing() { return PlayState.load() == PlayPlaying; }

    std::string folder_ = TempFolder();
    Heard heard_;
};

std::string Site(const char* path) { return std::string("https://localhost") + path; }

bool SiteRunning() {
    const char* log = std::getenv("TAVLO_SITE_LOG");
    return log && *log;
}

TEST_F(PlayerThreadTest, StreamIsFetchedIntoTheDataFolderPlayedAndRemovedAfter) {
    if (!SiteRunning()) GTEST_SKIP() << "the local test site is not running (run these tests through ctest)";
    HANDLE thread = Open(Site("/audio/news.wav"));
    ASSERT_TRUE(WaitUntil(Playing, 30000));
    EXPECT_NEAR(PlayerDuration.load(), 75.0, 0.1);
    const std::string fetched = folder_ + "\\player.wav";
    EXPECT_TRUE(Exists(fetched));

    // A minute on, then the position is said.
    PlayerCommand = PlayerForward60;
    ASSERT_TRUE(WaitUntil([] { return PlayerCommand.load() == PlayerNoCommand; }, 2000));
    PlayerCommand = PlayerSayPosition;
    ASSERT_TRUE(WaitUntil([this] { return !heard_.Copy().empty(); }, 2000));
    EXPECT_EQ(heard_.Copy().front().rfind("再生位置 1分0秒", 0), 0u) << heard_.Copy().front();

    EXPECT_TRUE(Close(thread));
    EXPECT_FALSE(Exists(fetched));
}

TEST_F(PlayerThreadTest, AddressesThatGiveNoAudioAreAnnouncedAndLeaveNothing) {
    if (!SiteRunning()) GTEST_SKIP() << "the local test site is not running (run these tests through ctest)";
    for (const std::string& address : {Site("/audio/missing.wav"),
                                       std::string("https://nohost.invalid/a.mp3"),
                                       std::string("C:\\no\\such\\file.wav")}) {
        heard_.texts.clear();
        HANDLE thread = Open(address);
        ASSERT_EQ(WaitForSingleObject(thread, 30000), WAIT_OBJECT_0) << address;  // ends by itself
        CloseHandle(thread);
        EXPECT_EQ(heard_.Copy(), std::vector<std::string>{PlayerOpenFailedText}) << address;
        EXPECT_EQ(PlayState.load(), PlayStopped) << address;
        EXPECT_FALSE(Exists(folder_ + "\\player.wav")) << address;
    }
}

// A stream fetched slowly (a minute for the whole file) is written as it arrives, and closing
// the dialog stops the fetch at once and leaves no file.
TEST_F(PlayerThreadTest, ClosingTheDialogStopsAStreamStillBeingFetched) {
    if (!SiteRunning()) GTEST_SKIP() << "the local test site is not running (run these tests through ctest)";
    const std::string fetched = folder_ + "\\player.wav";
    HANDLE thread = Open(Site("/_fault/slow/audio/news.wav?delay=0.5"));
    ASSERT_TRUE(WaitUntil(
        [&] {
            WIN32_FILE_ATTRIBUTE_DATA data = {};
            return GetFileAttributesExA(fetched.c_str(), GetFileExInfoStandard, &data) && data.nFileSizeLow >= 2048;
        },
        20000))
        << "nothing of the stream reached the file while it was fetched";
    EXPECT_TRUE(Close(thread));
    EXPECT_FALSE(Exists(fetched));
    EXPECT_TRUE(heard_.Copy().empty());
}

// Handles the platform keeps of every filter graph, even an empty one, after it is released
// (Wine's DirectShow keeps one).
double PlatformHandlesPerGraph() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    auto make = [] { PlayerGraph graph; };
    make();
    const long before = ProcessHandleCountOf(GetCurrentProcessId());
    for (int i = 0; i < 5; ++i) make();
    const long after = ProcessHandleCountOf(GetCurrentProcessId());
    CoUninitialize();
    return (after - before) / 5.0;
}

TEST_F(PlayerThreadTest, RepeatedOpeningsLeaveNoHandleOrThreadBehind) {
    if (!SiteRunning()) GTEST_SKIP() << "the local test site is not running (run these tests through ctest)";
    // Only web addresses reach the player, so each opening also fetches the stream from the
    // local site into the data folder, as the dialog's openings do.
    const std::string stream = Site("/audio/news.wav");
    const double platform = PlatformHandlesPerGraph();
    auto cycle = [&] {
        HANDLE thread = Open(stream);
        const bool playing = WaitUntil(Playing, 10000);
        return Close(thread) && playing;
    };
    constexpr int Openings = 30;  // the end-to-end test makes a hundred through the keyboard
    ASSERT_TRUE(cycle());         // the first opening loads what stays loaded
    const long handles = ProcessHandleCountOf(GetCurrentProcessId());
    const long threads = ProcessThreadCountOf(GetCurrentProcessId());
    for (int i = 0; i < Openings; ++i) ASSERT_TRUE(cycle()) << "opening " << i;
    Sleep(500);
    const long grown = ProcessHandleCountOf(GetCurrentProcessId()) - handles;
    std::printf(
        "%d openings: %ld handles more, the platform keeps %.1f of every graph\n", Openings, grown, platform);
    EXPECT_LE(grown, static_cast<long>(Openings * platform) + 5);
    // The platform's media threads may take a moment to wind down after the last graph.
    EXPECT_TRUE(
        WaitUntil([threads] { return ProcessThreadCountOf(GetCurrentProcessId()) <= threads + 2; }, 5000))
        << ProcessThreadCountOf(GetCurrentProcessId()) << " threads, " << threads << " before";
}

}  // namespace
