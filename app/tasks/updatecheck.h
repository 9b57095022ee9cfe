// The update check: at start-up (silent unless a newer release is out) and on demand.
#pragma once
#include <windows.h>

// Asks the maker's site for the latest release. A newer one is offered in a box over owner
// (Yes opens the product page); with reportWhenCurrent 1 (the on-demand check) an up-to-date
// program is confirmed in a box and a site that cannot be reached is announced. Returns 1
// when the version file was read, 0 when it was not.
int CheckForUpdate(HWND owner, int reportWhenCurrent);
