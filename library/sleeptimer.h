// The sleep timer: a count of seconds that the main window's one-second timer runs down, and
// what happens at its end. This file owns the state; the window side (dialog, timer, power
// calls) reads and changes it only through these functions.
#pragma once
#include <cstddef>

// Seconds left, -1 while no timer is set.
extern int SleepRemaining;
// What happens at the end: one of the SleepActions below; meaningful only while a timer is set.
extern int SleepAction;

enum SleepActionCode { SleepEndProgram = 0, SleepSuspend = 1, SleepHibernate = 2, SleepShutDown = 3 };

struct SleepDuration {
    const char* label;
    int seconds;
};
constexpr int SleepDurationCount = 9;
extern const SleepDuration SleepDurations[SleepDurationCount];
constexpr int SleepActionCount = 4;
extern const char* const SleepActionLabels[SleepActionCount];

// Sets (or sets again) a timer from a position of each list; positions outside them are
// refused (false, nothing changes).
bool StartSleepTimer(int durationPosition, int action);
void ClearSleepTimer();
bool SleepTimerSet();

// The warning point: with this many seconds left, reading and playback are stopped.
constexpr int SleepWarningSeconds = 30;

enum class SleepTickResult {
    Counted,    // one second less
    Warning,    // one second less, and the warning point was reached
    End,        // the time is up: the timer is cleared and the action is due
    NotRunning  // a stray tick with no timer set
};
// One tick of the one-second timer. A timer of n seconds ends at its (n + 1)th tick.
SleepTickResult SleepTick();

// "お休みタイマー実行中 %d分%d秒後に..." for the current state, or the notice that no timer
// runs. Always terminated.
void SleepStateMessage(char* buffer, size_t capacity);

// What is said when a reading was stopped at the warning point; null for an unknown action.
const char* SleepReadingStoppedMessage(int action);
