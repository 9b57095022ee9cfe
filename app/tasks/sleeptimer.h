// The sleep timer's commands, its dialog and the main window's timer 100.
#pragma once

bool SetSleepTimer();       // F10
bool CancelSleepTimer();    // Shift+F10
bool AnnounceSleepTimer();  // Alt+0
// One tick of timer 100: the count-down, the stop of reading at 30 seconds, the end action.
void SleepTimerTick();

// Reads the start-up switch TAVLO_SLEEP_TICK_MS, which only tests set: the timer then ticks
// every that many milliseconds instead of every second. Called once at start-up.
void LoadSleepTickSwitch();
