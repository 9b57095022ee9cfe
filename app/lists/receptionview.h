// The window thread's side of a headline reception: starting it for a menu entry, and
// carrying out what its reports say (retrieval/reception.h), in the order the user hears:
// "…を受信", then the list and its count (or the failure).
#pragma once
#include <windows.h>

// Receives the category of menu entry p of level (MenuStack) on a worker thread.
void StartCategoryReception(int level, int p);

// ReceptionMessage of the main window.
LRESULT OnReceptionReport(WPARAM ticket, LPARAM report);
