// The screen state declared in app/state/shell.h: the windows, the folders, what the lists
// show and which view has the focus.
#include "app/state/shell.h"

#include <richedit.h>

#include "library/settings.h"

HWND MainWindow;
HWND MenuList;
HWND HeadlineList;
HWND BodyView;
HWND PageStore[PageStoreCount];
HWND LastFocus;
HMENU ContextMenus[ContextMenuCount];
char ProgramFolder[FolderCapacity];
char DataFolder[FolderCapacity];
bool AltAcceleratorUsed;

MenuStackData MenuStack;
volatile LONG ScrapbookMode = 0;

HWND PageStoreSlot(int depth) {
    if (depth < 1) depth = 1;
    if (depth > PageStoreCount) depth = PageStoreCount;
    return PageStore[depth - 1];
}

void ShowView(HWND view, HWND hide1, HWND hide2) {
    if (hide1) ShowWindow(hide1, SW_HIDE);
    if (hide2) ShowWindow(hide2, SW_HIDE);
    ShowWindow(view, SW_SHOW);
    SetFocus(view);
    LastFocus = GetFocus();
}

HWND FocusedView() {
    HWND focus = GetFocus();
    if (focus == MenuList || focus == HeadlineList || focus == BodyView) return focus;
    return nullptr;
}

void ApplyWordWrap() { SendMessageA(BodyView, EM_SETTARGETDEVICE, 0, Settings.WordWrap == 1 ? 0 : 1); }
