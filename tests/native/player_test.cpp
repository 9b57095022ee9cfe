// The audio player's steps and the player thread's loop against a playback stand-in.
#include "recording/player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

TEST(PlayerSeek, StepsLandWhereTheKeysSayAndNeverPastEitherEnd) {
    const double length = 200;  // 3:20
    EXPECT_EQ(SeekTarget(PlayerForward10, 100, length), 110);
    EXPECT_EQ(SeekTarget(PlayerBack10, 100, length), 90);
    EXPECT_EQ(SeekTarget(PlayerForward60, 100, length), 160);
    EXPECT_EQ(SeekTarget(PlayerBack60, 100, length), 40);
    EXPECT_EQ(SeekTarget(PlayerForward10, 195, length), 195);  // 3:15: past the end is refused
    EXPECT_EQ(SeekTarget(PlayerForward10, 190, length), 190);  // landing on the end is too
    EXPECT_EQ(SeekTarget(PlayerBack10, 5, length), 0);         // 0:05 back to 0:00
    EXPECT_EQ(SeekTarget(PlayerBack60, 59.5, length), 0);
    EXPECT_EQ(SeekTarget(PlayerRewind, 150, length), 0);
    EXPECT_EQ(SeekTarget(PlayerSayPosition, 150, length), 150);
    // 1:00 of a 1:50 file: a minute forward is refused, ten seconds are not.
    EXPECT_EQ(SeekTarget(PlayerForward60, 60, 110), 60);
    EXPECT_EQ(SeekTarget(PlayerForward10, 60, 110), 70);

    EXPECT_EQ(SeekCommand(false, false), PlayerBack10);
    EXPECT_EQ(SeekCommand(true, false), PlayerForward10);
    EXPECT_EQ(SeekCommand(false, true), PlayerBack60);
    EXPECT_EQ(SeekCommand(true, true), PlayerForward60);
}

TEST(PlayerVolume, TwentyStepsOfEqualChannelsFromTheMiddle) {
    EXPECT_EQ(PlayerVolumeWord(PlayerVolumeStart), 0x7FF87FF8u);
    EXPECT_EQ(PlayerVolumeWord(0), 0u);
    EXPECT_EQ(PlayerVolumeWord(20), 0xFFF0FFF0u);
    int level = PlayerVolumeStart;
    for (int i = 0; i < 10; ++i) level = RaisePlayerVolume(level);
    EXPECT_EQ(level, 20);
    EXPECT_EQ(RaisePlayerVolume(level), 20);
    for (int i = 0; i < 25; ++i) level = LowerPlayerVolume(level);
    EXPECT_EQ(level, 0);
    for (int n = 0; n <= 20; ++n) EXPECT_EQ(PlayerVolumeLevel(PlayerVolumeWord(n)), n);
}

TEST(PlayerTime, WholeSecondsAsMinutesAndSeconds) {
    char text[32];
    FormatPlayerTime(text, sizeof text, "長さ %d分%d秒", 200.9);
    EXPECT_STREQ(text, "長さ 3分20秒");
    FormatPlayerTime(text, sizeof text, "%d分%d秒", 59.99);
    EXPECT_STREQ(text, "0分59秒");
    FormatPlayerTime(text, sizeof text, "%d分%d秒", -3);
    EXPECT_STREQ(text, "0分0秒");
    FormatPlayerTime(text, sizeof text, "%d分%d秒", 0.0 / 0.0);
    EXPECT_STREQ(text, "0分0秒");
    char small[6];
    FormatPlayerTime(small, sizeof small, "%d分%d秒", 3725);
    EXPECT_STREQ(small, "62分5");  // cut to the buffer
}

// Playback that moves only when told: a tick plays tickSeconds while running.
struct FakeMedia : PlayerMedia {
    double position = 0;
    bool running = false;
    double tickSeconds = 0;
    std::vector<std::string> calls;
    void Run() override {
        if (!running) calls.push_back("Run");
        running = true;
    }
    void Stop() override {
        if (running) calls.push_back("Stop");
        running = false;
    }
    double Position() override { return position; }
    void SetPosition(double seconds) override {
        position = seconds;
        calls.push_back("SetPosition " + std::to_string(static_cast<int>(seconds)));
    }
    void Play() {
        if (running) position += tickSeconds;
    }
};

void Record(const char* text, void* context) {
    static_cast<std::vector<std::string>*>(context)->push_back(text);
}

class PlayerLoop : public ::testing::Test {
  protected:
    void SetUp() override {
        PlayState = PlayPlaying;
        PlayerCommand = PlayerNoCommand;
    }
    bool Tick(double duration = 110) {
        const bool going = PlayerTick(media, duration, Record, &heard);
        media.Play();
        return going;
    }
    FakeMedia media;
    std::vector<std::string> heard;
};

TEST_F(PlayerLoop, SeeksWhilePlayingAreSilentAndWhileStoppedSayTheNewPosition) {
    media.position = 60;
    ASSERT_TRUE(Tick());
    EXPECT_TRUE(media.running);
    PlayerCommand = PlayerForward60;  // 1:00 of 1:50: refused
    Tick();
    EXPECT_EQ(media.position, 60);
    PlayerCommand = PlayerForward10;
    Tick();
    EXPECT_EQ(media.position, 70);
    EXPECT_EQ(PlayerCommand.load(), PlayerNoCommand);  // taken once
    EXPECT_TRUE(heard.empty());

    PlayState = PlayStopped;
    Tick();
    EXPECT_FALSE(media.running);
    PlayerCommand = PlayerBack60;
    Tick();
    EXPECT_EQ(media.position, 10);
    EXPECT_EQ(heard, std::vector<std::string>{"0分10秒"});
    Tick();
    EXPECT_FALSE(media.running);  // the next tick stops it again
    PlayerCommand = PlayerSayPosition;
    Tick();
    EXPECT_EQ(heard.back(), "再生位置 0分10秒");

    // Space while stopped plays on from the new position.
    PlayState = PlayPlaying;
    media.tickSeconds = 1;
    Tick();
    EXPECT_TRUE(media.running);
    EXPECT_EQ(media.position, 11);
}

TEST_F(PlayerLoop, TheEndIsAnnouncedOnceAndStopsAtTheBeginning) {
    media.position = 108;
    media.tickSeconds = 1;
    for (int i = 0; i < 10; ++i) Tick();
    EXPECT_EQ(std::count(heard.begin(), heard.end(), std::string("再生完了")), 1);
    EXPECT_EQ(PlayState.load(), PlayStopped);
    EXPECT_EQ(media.position, 0);
    EXPECT_FALSE(media.running);

    // A stream of unknown length plays on without an end.
    heard.clear();
    PlayState = PlayPlaying;
    for (int i = 0; i < 10; ++i) Tick(0);
    EXPECT_TRUE(heard.empty());
    EXPECT_TRUE(media.running);
}

TEST_F(PlayerLoop, ClosingTheDialogStopsPlaybackAndEndsTheLoop) {
    Tick();
    ASSERT_TRUE(media.running);
    PlayState = PlayClosed;
    EXPECT_FALSE(Tick());
    EXPECT_FALSE(media.running);
    PlayerCommand = PlayerRewind;  // the thread is gone: nothing is carried out
    media.calls.clear();
    EXPECT_FALSE(Tick());
    EXPECT_TRUE(media.calls.empty());
}

TEST_F(PlayerLoop, BackspaceStartsOverFromTheBeginning) {
    media.position = 80;
    Tick();
    PlayerCommand = PlayerRewind;
    Tick();
    EXPECT_EQ(media.position, 0);
    EXPECT_TRUE(media.running);
    EXPECT_TRUE(heard.empty());
}

}  // namespace

namespace {

TEST(PlayerDownload, TheNameAFetchedStreamIsKeptUnderKeepsItsKind) {
    char name[16];
    const struct {
        const char* address;
        const char* name;
    } cases[] = {
        {"https://r.example/news/0412.mp3",         "player.mp3"},
        {"https://r.example/a.b/c.wav?token=x.exe", "player.wav"},
        {"https://r.example/dir.d/stream",          "player.dat"},
        {"https://r.example/x.toolongext",          "player.dat"},
        {"https://r.example/x.m$3",                 "player.dat"},
        {"https://r.example/x.",                    "player.dat"},
        {"https://r.example/x.m4a#t=10",            "player.m4a"},
    };
    for (const auto& c : cases) {
        PlayerDownloadName(c.address, name, sizeof name);
        EXPECT_STREQ(name, c.name) << c.address;
    }
    char small[8];
    PlayerDownloadName("https://r.example/a.mp3", small, sizeof small);
    EXPECT_STREQ(small, "player.");
}

TEST(PlayerAddress, OnlyWebAddressesReachTheGraph) {
    // "\x95\x5C" is a Shift-JIS character whose second byte is a backslash.
    const char* accepted[] = {"https://radio.example.jp/live.mp3", "http://a.jp/x.wav?y=1", "HTTP://A.JP/s",
                              "https://a.jp/\x95\x5C.mp3"};
    for (const char* a : accepted) EXPECT_TRUE(IsPlayableAddress(a)) << a;
    const char* refused[] = {"",
                             "\\\\host\\share\\x.mp3",
                             "\\\\host@SSL@443\\share\\x.mp3",
                             "file://\\\\host\\share\\x.mp3",
                             "file:///c:/windows/media/tada.wav",
                             "C:\\ProgramData\\x.mp3",
                             "x.mp3",
                             "https://a.jp\\..\\x.mp3",
                             "http://\\\\host\\x.mp3",
                             "mms://a.jp/live",
                             "https://a.jp/x y.mp3"};
    for (const char* a : refused) EXPECT_FALSE(IsPlayableAddress(a)) << a;
    EXPECT_FALSE(IsPlayableAddress(nullptr));
}

}  // namespace
