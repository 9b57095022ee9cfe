#include "app/browser.h"

#include <windows.h>
#include <shellapi.h>

#include "app/shell.h"

namespace {

bool StartsWithNoCase(const char* text, const char* prefix) {
    for (; *prefix; ++text, ++prefix) {
        char c = *text;
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != *prefix) return false;
    }
    return true;
}

}  // namespace

bool IsWebAddress(const char* address) {
    if (!address) return false;
    if (!StartsWithNoCase(address, "http://") && !StartsWithNoCase(address, "https://")) return false;
    for (const char* p = address; *p; ++p)
        if (static_cast<unsigned char>(*p) < 0x20 || *p == 0x7F) return false;
    return true;
}

bool OpenInBrowser(const char* address) {
    if (!IsWebAddress(address)) return false;
    HINSTANCE result = ShellExecuteA(MainWindow, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
