// The speech settings dialog "TBSpeechDialog" and the braille switch.
#pragma once
#include <windows.h>

// Opens "TBSpeechDialog" over owner; returns 1 (OK) or 2 (cancel).
INT_PTR OpenSpeechSettings(HWND owner);

// Switches braille output on or off and announces the new state, under NVDA on the braille
// display as well (also when it has just been switched off).
void ToggleBraille();
