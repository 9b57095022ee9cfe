#include "app/article/browser.h"

#include <windows.h>
#include <shellapi.h>

#include "app/state/shell.h"

bool OpenInBrowser(const char* address) {
    if (!IsWebAddress(address)) return false;
    HINSTANCE result = ShellExecuteA(MainWindow, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
