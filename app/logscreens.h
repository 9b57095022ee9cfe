// The reception history and the favorites on screen: shown as level 1 of the menu list, the
// jumps to them, registering a favorite, deleting an entry, and the start actions on them.
#pragma once

// Reads the name of category number of the category file menuName ("Parameter1" of its
// section "Category<number>"), at most 63 bytes.
void ReadCategoryName(const char* menuName, int number, char* name, int capacity);

// Activation of a top-menu entry of code 603 or 604: the log becomes the next level.
void ShowHistoryLevel();
void ShowFavoritesLevel();

bool MoveToHistory();     // 550, Ctrl+F1
bool ShowFavorites();     // 535, F2
bool RegisterFavorite();  // 534, Ctrl+F2

// Also defined here (declared in app/screens.h): DeleteLogEntry, the Delete key in MenuList
// while the history or the favorites are shown, and RunLogStartAction for start actions 1 to 3.
