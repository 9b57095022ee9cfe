#include "library/sleeptimer.h"

#include <cstdio>

int SleepRemaining = -1;
int SleepAction = -1;

const SleepDuration SleepDurations[SleepDurationCount] = {
    {"15分",  900  },
    {"30分",  1800 },
    {"45分",  2700 },
    {"60分",  3600 },
    {"75分",  4500 },
    {"90分",  5400 },
    {"120分", 7200 },
    {"150分", 9000 },
    {"180分", 10800},
};

const char* const SleepActionLabels[SleepActionCount] = {
    "タブロを終了", "スリープ", "休止状態", "シャットダウン"};

namespace {

const char* const StateFormats[SleepActionCount] = {
    "お休みタイマー実行中 %d分%d秒後にタブロを終了します",
    "お休みタイマー実行中 %d分%d秒後にシステムをスリープに移行します",
    "お休みタイマー実行中 %d分%d秒後にシステムを休止状態に移行します",
    "お休みタイマー実行中 %d分%d秒後にシステムをシャットダウンします",
};

const char* const ReadingStoppedMessages[SleepActionCount] = {
    "お休みタイマーにより読み上げを停止しました\n30秒後にタブロを終了します",
    "お休みタイマーにより読み上げを停止しました\n30秒後にシステムがスリープ状態に移行します",
    "お休みタイマーにより、読み上げを停止しました\n30秒後にシステムが休止状態に移行します",
    "お休みタイマーにより、読み上げを停止しました\n30秒後にシステムをシャットダウンします",
};

bool KnownAction(int action) { return action >= 0 && action < SleepActionCount; }

}  // namespace

bool StartSleepTimer(int durationPosition, int action) {
    if (durationPosition < 0 || durationPosition >= SleepDurationCount || !KnownAction(action)) return false;
    SleepRemaining = SleepDurations[durationPosition].seconds;
    SleepAction = action;
    return true;
}

void ClearSleepTimer() { SleepRemaining = -1; }

bool SleepTimerSet() { return SleepRemaining >= 0; }

SleepTickResult SleepTick() {
    if (!SleepTimerSet()) return SleepTickResult::NotRunning;
    if (SleepRemaining == 0) {
        ClearSleepTimer();
        return SleepTickResult::End;
    }
    SleepRemaining--;
    return SleepRemaining + 1 == SleepWarningSeconds ? SleepTickResult::Warning : SleepTickResult::Counted;
}

void SleepStateMessage(char* buffer, size_t capacity) {
    if (capacity == 0) return;
    if (!SleepTimerSet() || !KnownAction(SleepAction)) {
        snprintf(buffer, capacity, "%s", "お休みタイマーは実行されていません");
        return;
    }
    snprintf(buffer, capacity, StateFormats[SleepAction], SleepRemaining / 60, SleepRemaining % 60);
}

const char* SleepReadingStoppedMessage(int action) {
    return KnownAction(action) ? ReadingStoppedMessages[action] : nullptr;
}
