#include "app/window/views.h"

#include "app/lists/listcontent.h"
#include "app/article/readingcommands.h"
#include "app/lists/screens.h"
#include "app/state/shell.h"
#include "speech/reading.h"

namespace {

WNDPROC MenuListProc;
WNDPROC HeadlineListProc;
WNDPROC BodyViewProc;

// While a reading runs, keys in the headline list stop it and leave the focus in the body
// without showing it.
void StopAndFocusBody() {
    StopContinuousReading(0);
    SetFocus(BodyView);
}

bool MenuListKey(WPARAM key) {
    switch (key) {
        case VK_BACK:
        case VK_ESCAPE:
        case VK_LEFT:
            GoBackInMenu();
            return true;
        case VK_RIGHT:
            ActivateEntry(FromMenuList);
            return true;
        case VK_DELETE:
            return DeleteInList(MenuList);
    }
    return false;
}

bool HeadlineListKey(WPARAM key) {
    bool reading = ReadingActive == 1;
    switch (key) {
        case VK_BACK:
        case VK_ESCAPE:
        case VK_LEFT:
            if (reading)
                StopAndFocusBody();
            else
                ShowView(MenuList, HeadlineList);
            return true;
        case VK_CONTROL:
            if (reading) StopContinuousReading(0);
            return true;
        case VK_UP:
        case VK_DOWN:
            if (!reading) return false;
            StopAndFocusBody();
            return true;
        case VK_RIGHT:
            if (reading)
                StopAndFocusBody();
            else
                ActivateEntry(FromHeadlineList);
            return true;
    }
    return false;
}

bool BodyViewKey(WPARAM key) {
    bool reading = ReadingActive == 1;
    switch (key) {
        case VK_BACK:
            if (reading || BodyShowsScrapbookText()) return false;
            GoBackInBody();
            return true;
        case VK_ESCAPE:
            if (reading)
                StopContinuousReading(0);
            else
                ShowView(HeadlineList, BodyView);
            return true;
        case VK_CONTROL:
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            if (!reading) return false;
            StopContinuousReading(0);
            return true;
    }
    return false;
}

LRESULT CALLBACK ViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC own = view == MenuList ? MenuListProc : view == HeadlineList ? HeadlineListProc : BodyViewProc;
    if (message == WM_KEYDOWN) {
        bool consumed = view == MenuList       ? MenuListKey(wParam)
                        : view == HeadlineList ? HeadlineListKey(wParam)
                                               : BodyViewKey(wParam);
        if (consumed) return 0;
    } else if (message == WM_KILLFOCUS && view != MenuList) {
        if (ReadingActive == 1) StopContinuousReading(1);
        return 0;
    }
    return CallWindowProcA(own, view, message, wParam, lParam);
}

}  // namespace

void SubclassView(HWND view) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(view, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ViewProc)));
    switch (GetDlgCtrlID(view)) {
        case MenuListId:
            MenuListProc = previous;
            break;
        case HeadlineListId:
            HeadlineListProc = previous;
            break;
        default:
            BodyViewProc = previous;
            break;
    }
}
