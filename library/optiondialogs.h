// The prefecture dialog "LocalDialog" and the general settings "TBNOptionDialog".
#pragma once
#include <windows.h>

// Opens "LocalDialog" over owner; returns what it ended with (1 OK, 2 cancel).
INT_PTR OpenLocalDialog(HWND owner);

// Opens "TBNOptionDialog" over owner; returns what it ended with. The caller rebuilds the
// headline list after OK, so that the numbering choice shows at once.
INT_PTR OpenGeneralOptions(HWND owner);
