// Windows the Win32 tests put controls in: created by this thread, so the tests' messages and
// focus reach them at once.
#pragma once
#include <windows.h>

// A window of class cls (a top-level one when parent is null) at 0,0, 400 by 300.
inline HWND MakeTestWindow(const char* cls, DWORD style, HWND parent = nullptr) {
    return CreateWindowExA(
        0, cls, "", style, 0, 0, 400, 300, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}
