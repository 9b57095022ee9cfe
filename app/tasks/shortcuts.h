// Pages, files and folders opened outside the program: radio and web entries of the menus,
// the help files, the maker's pages, the recording folder and the page shown.
#pragma once

// Enter on a menu entry of code 601: opens its address in the browser and adds it to the
// history under its station name (or its list text).
void OpenRadioEntry(int level, int p);

// The commands 503, 504 and 561 to 568 but 565 are defined in app/tasks/shortcuts.cpp and declared
// in app/state/entrypoints.h.
