// Menu levels read from the main menu definition file "News\Tavlo.menu".
#pragma once
#include <windows.h>

// Pushes a new level filled from the section onto the menu stack and shows it in list.
int LoadMenuLevel(HWND list, const char* section);
