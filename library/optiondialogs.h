// The prefecture dialog "LocalDialog" and the general settings "TBNOptionDialog".
#pragma once
#include <windows.h>

INT_PTR CALLBACK LocalDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK GeneralOptionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Opens "LocalDialog" over the main window; returns what it ended with (1 OK, 2 cancel).
INT_PTR OpenLocalDialog();

// Opens "TBNOptionDialog" over the main window and, when it ends with OK, rebuilds the
// headline list so that the numbering choice shows at once. Returns what it ended with.
INT_PTR OpenGeneralOptions();

// Rewrites every entry of HeadlineList in place, numbered or not as Settings.NumberEntries
// says, keeping the selection.
void RebuildHeadlineList();
