// The sleep timer's count-down, its warning point and what it says.
#include <gtest/gtest.h>

#include <string>

#include "library/sleeptimer.h"

namespace {

class SleepTimerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SleepRemaining = -1;
        SleepAction = -1;
    }
    std::string State() {
        char buffer[256];
        SleepStateMessage(buffer, sizeof buffer);
        return buffer;
    }
};

TEST_F(SleepTimerTest, FifteenMinutesEndAtTheNineHundredAndFirstTickWithOneWarning) {
    ASSERT_TRUE(StartSleepTimer(0, SleepEndProgram));
    EXPECT_EQ(900, SleepRemaining);
    int ticks = 0, warnings = 0, warningTick = 0;
    SleepTickResult result;
    do {
        result = SleepTick();
        ticks++;
        if (result == SleepTickResult::Warning) {
            warnings++;
            warningTick = ticks;
        }
    } while (result != SleepTickResult::End && ticks < 2000);
    EXPECT_EQ(901, ticks);
    EXPECT_EQ(1, warnings);
    EXPECT_EQ(871, warningTick);  // 30 seconds left, 30 ticks before the end
    EXPECT_FALSE(SleepTimerSet());
    EXPECT_EQ(SleepTickResult::NotRunning, SleepTick());
    EXPECT_EQ(-1, SleepRemaining);
}

TEST_F(SleepTimerTest, DialogPositionsAndRefusals) {
    ASSERT_TRUE(StartSleepTimer(8, SleepShutDown));
    EXPECT_EQ(10800, SleepRemaining);
    EXPECT_EQ(SleepShutDown, SleepAction);
    // Setting again replaces both values.
    ASSERT_TRUE(StartSleepTimer(1, SleepSuspend));
    EXPECT_EQ(1800, SleepRemaining);
    EXPECT_EQ(SleepSuspend, SleepAction);
    for (int position : {-1, 9}) EXPECT_FALSE(StartSleepTimer(position, SleepSuspend));
    for (int action : {-1, 4}) EXPECT_FALSE(StartSleepTimer(0, action));
    EXPECT_EQ(1800, SleepRemaining);
    EXPECT_EQ(SleepSuspend, SleepAction);
    ClearSleepTimer();
    EXPECT_FALSE(SleepTimerSet());
}

TEST_F(SleepTimerTest, StateMessages) {
    EXPECT_EQ("お休みタイマーは実行されていません", State());
    StartSleepTimer(0, SleepSuspend);
    SleepRemaining = 3725;
    EXPECT_EQ("お休みタイマー実行中 62分5秒後にシステムをスリープに移行します", State());
    SleepAction = SleepEndProgram;
    SleepRemaining = 0;
    EXPECT_EQ("お休みタイマー実行中 0分0秒後にタブロを終了します", State());
    SleepAction = SleepHibernate;
    SleepRemaining = 59;
    EXPECT_EQ("お休みタイマー実行中 0分59秒後にシステムを休止状態に移行します", State());
    SleepAction = SleepShutDown;
    SleepRemaining = 10800;
    EXPECT_EQ("お休みタイマー実行中 180分0秒後にシステムをシャットダウンします", State());
    char small[10];
    SleepStateMessage(small, sizeof small);
    EXPECT_LT(std::string(small).size(), sizeof small);
}

TEST_F(SleepTimerTest, ReadingStoppedMessages) {
    EXPECT_STREQ("お休みタイマーにより読み上げを停止しました\n30秒後にタブロを終了します",
                 SleepReadingStoppedMessage(SleepEndProgram));
    EXPECT_STREQ("お休みタイマーにより、読み上げを停止しました\n30秒後にシステムをシャットダウンします",
                 SleepReadingStoppedMessage(SleepShutDown));
    EXPECT_EQ(nullptr, SleepReadingStoppedMessage(4));
    EXPECT_EQ(nullptr, SleepReadingStoppedMessage(-1));
}

}  // namespace
