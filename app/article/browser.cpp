#include "app/article/browser.h"

#include <windows.h>
#include <shellapi.h>

#include "app/state/shell.h"
#include "speech/speak.h"

bool OpenInBrowser(const char* address) {
    if (!IsWebAddress(address)) return false;
    HINSTANCE result = ShellExecuteA(MainWindow, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) > 32) return true;
    // The user chose to go to the browser: a shell that starts none must not leave silence.
    SpeakMessage("ブラウザーを起動できませんでした", 100);
    return false;
}
