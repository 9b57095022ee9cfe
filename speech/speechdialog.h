// The speech settings dialog "TBSpeechDialog" and the braille switch.
#pragma once
#include <windows.h>

INT_PTR CALLBACK SpeechDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Opens "TBSpeechDialog" over the main window; returns 1 (OK) or 2 (cancel).
INT_PTR OpenSpeechSettings();

// Switches braille output on or off and announces the new state, under NVDA on the braille
// display as well (also when it has just been switched off).
void ToggleBraille();
