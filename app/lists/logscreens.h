// The reception history and the favorites on screen: shown as level 1 of the menu list, the
// jumps to them, registering a favorite, deleting an entry, and the start actions on them.
#pragma once

// Reads the name of category number of the category file menuName ("Parameter1" of its
// section "Category<number>"), at most 63 bytes.
void ReadCategoryName(const char* menuName, int number, char* name, int capacity);

// Activation of a top-menu entry of code 603 or 604: the log becomes the next level.
void ShowHistoryLevel();
void ShowFavoritesLevel();

// Also defined here: the commands 534, 535 and 550 (declared in app/state/entrypoints.h), and
// DeleteLogEntry (the Delete key in MenuList while a log is shown) and RunLogStartAction
// (start actions 1 to 3), declared in app/lists/screens.h.
