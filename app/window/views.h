// The replacement window procedures of the three views: their keys and focus loss.
#pragma once
#include <windows.h>

void SubclassView(HWND view);
