#include "app/tasks/sleeptimer.h"

#include <windows.h>

#include <cstdlib>

#include "app/article/readingcommands.h"
#include "app/state/shell.h"
#include "library/power.h"
#include "library/sleeptimer.h"
#include "recording/player.h"
#include "resources/resource.h"
#include "speech/reading.h"
#include "speech/speak.h"
#include "win/dialog.h"

namespace {

UINT TickMs = 1000;

const char* DurationLabels[SleepDurationCount];

void OnInit(HWND dialog) {
    for (int i = 0; i < SleepDurationCount; i++) DurationLabels[i] = SleepDurations[i].label;
    win::FillComboBox(dialog, IDC_SLEEP_DURATION, DurationLabels, SleepDurationCount, 0);
    win::FillComboBox(dialog, IDC_SLEEP_ACTION, SleepActionLabels, SleepActionCount, SleepEndProgram);
}

bool OnOk(HWND dialog) {
    int duration = win::ComboSelection(dialog, IDC_SLEEP_DURATION, 0);
    int action = win::ComboSelection(dialog, IDC_SLEEP_ACTION, SleepEndProgram);
    if (!StartSleepTimer(duration, action)) return false;
    SetTimer(MainWindow, SleepTimerId, TickMs, nullptr);
    return true;
}

const win::DialogSpec SleepDialogSpec = {IDD_SLEEP, nullptr, 0, OnInit, OnOk, nullptr};

bool Confirm(const char* text, const char* caption) {
    return MessageBoxA(MainWindow, text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// The player stops through its state, which its own thread follows.
void StopPlayerForSleep() {
    int32_t playing = PlayPlaying;
    if (PlayState.compare_exchange_strong(playing, PlayStopped))
        SpeakMessage("お休みタイマーにより再生を停止しました", 0);
}

void StopReadingForSleep() {
    if (ReadingActive != 1 && AutoAdvanceActive != 1) return;
    StopContinuousReading(1);
    const char* message = SleepReadingStoppedMessage(SleepAction);
    if (message) SpeakAndWait(message, 100);
}

void RunSleepAction(int action) {
    switch (action) {
        case SleepEndProgram:
            SendMessageA(MainWindow, WM_CLOSE, 0, 0);
            break;
        case SleepSuspend:
            EnableShutdownPrivilege();
            RequestSuspend();
            break;
        case SleepHibernate:
            EnableShutdownPrivilege();
            RequestHibernate();
            break;
        case SleepShutDown:
            if (EnableShutdownPrivilege() == 1) RequestShutdown();
            break;
        default:
            break;
    }
}

}  // namespace

bool SetSleepTimer() {
    SetForegroundWindow(MainWindow);
    if (!SleepTimerSet()) {
        if (win::RunModalDialog(MainWindow, SleepDialogSpec) == IDOK)
            SpeakMessage("お休みタイマーをセットしました", 100);
        return true;
    }
    if (!Confirm("既にお休みタイマーがセットされています\nお休みタイマーをセットし直しますか？",
                 "お休みタイマーの再セット確認"))
        return true;
    if (win::RunModalDialog(MainWindow, SleepDialogSpec) == IDOK)
        SpeakMessage("お休みタイマーをセットし直しました", 100);
    return true;
}

bool CancelSleepTimer() {
    if (!SleepTimerSet()) return true;
    if (!Confirm("お休みタイマーをキャンセルしてもよろしいですか？", "お休みタイマーのキャンセル確認"))
        return true;
    // The timer may have run out while the question was open.
    if (!SleepTimerSet()) return true;
    ClearSleepTimer();
    KillTimer(MainWindow, SleepTimerId);
    SpeakMessage("お休みタイマーをキャンセルしました", 100);
    return true;
}

bool AnnounceSleepTimer() {
    char message[256];
    SleepStateMessage(message, sizeof message);
    SpeakMessage(message, 100);
    return true;
}

void SleepTimerTick() {
    int action = SleepAction;
    switch (SleepTick()) {
        case SleepTickResult::Warning:
            StopPlayerForSleep();
            StopReadingForSleep();
            break;
        case SleepTickResult::End:
            KillTimer(MainWindow, SleepTimerId);
            RunSleepAction(action);
            break;
        case SleepTickResult::NotRunning:
            KillTimer(MainWindow, SleepTimerId);
            break;
        case SleepTickResult::Counted:
            break;
    }
}

void LoadSleepTickSwitch() {
    char value[16];
    DWORD length = GetEnvironmentVariableA("TAVLO_SLEEP_TICK_MS", value, sizeof value);
    long ms = length > 0 && length < sizeof value ? std::strtol(value, nullptr, 10) : 0;
    TickMs = ms >= USER_TIMER_MINIMUM && ms <= 1000 ? static_cast<UINT>(ms) : 1000;
}
