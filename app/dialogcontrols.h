// Small helpers for the controls of the program's dialogs (combo boxes and the check boxes,
// which are not automatic: a click flips them here).
#pragma once
#include <windows.h>

#include <cstdint>

// Inserts the names at positions 0..count-1 and selects selection (an index outside the entries
// leaves the box without a selection).
void FillComboBox(HWND dialog, int id, const char* const* names, int count, int32_t selection);

// The chosen index; a box without a selection keeps the value it was opened with.
int32_t ComboSelection(HWND dialog, int id, int32_t openedWith);

bool IsChecked(HWND dialog, int id);
void SetCheck(HWND dialog, int id, bool checked);
void FlipCheck(HWND dialog, int id);
