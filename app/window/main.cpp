// Entry point: one instance, one window, one message loop.
#include <windows.h>

#include "app/state/shell.h"
#include "resources/resource.h"

namespace {

const char WindowClass[] = "Tavlo";
const char WindowTitle[] = "タブロ";

bool ActivateRunningInstance() {
    HWND first = FindWindowA(WindowClass, WindowTitle);
    if (!first) return false;
    if (IsIconic(first))
        ShowWindow(first, SW_RESTORE);
    else
        SetForegroundWindow(first);
    return true;
}

bool RegisterMainClass(HINSTANCE instance) {
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, IDR_ICON);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszMenuName = IDR_MENU_BAR;
    wc.lpszClassName = WindowClass;
    return RegisterClassA(&wc) != 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // Libraries are never looked for in the working directory: it is the data folder, which
    // every local user may write to.
    SetDllDirectoryA("");
    if (ActivateRunningInstance()) return 0;
    if (!RegisterMainClass(instance)) return -1;
    HWND window = CreateWindowExA(0,
                                  WindowClass,
                                  WindowTitle,
                                  WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT,
                                  CW_USEDEFAULT,
                                  CW_USEDEFAULT,
                                  CW_USEDEFAULT,
                                  nullptr,
                                  nullptr,
                                  instance,
                                  nullptr);
    if (!window) return -1;
    HACCEL accelerators = LoadAcceleratorsA(instance, IDR_ACCELERATORS);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_MENU) AltAcceleratorUsed = false;
        if (TranslateAcceleratorA(MainWindow, accelerators, &msg)) {
            if (msg.message == WM_SYSKEYDOWN) AltAcceleratorUsed = true;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
