// PlayDialog: the keyboard-driven player opened for an entry of a radio category. It has no
// controls; Space plays and stops, Backspace starts over, Left/Right seek 10 s (60 s with
// Ctrl), Up/Down step the volume, 1 to 5 speak the title, the state, the length, the position
// and the volume, Escape closes it.
#pragma once
#include <windows.h>

// Plays address (Shift-JIS) modally over owner; title is what key 1 speaks, dataFolder where
// a stream the media framework cannot open by address is fetched to. Returns when the user
// has closed the player; the playback has stopped by then.
void ShowPlayDialog(HWND owner, const char* address, const char* title, const char* dataFolder);
