#include "app/titledialog.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "app/screens.h"
#include "app/shell.h"
#include "retrieval/sjis.h"

namespace {

// Controls of "TitleDialog".
constexpr int TitleEdit = 101;
// The entry as the list shows it: a title of 255 bytes and its number.
constexpr size_t TitleTextCapacity = 264;

INT_PTR CALLBACK TitleDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetDlgItemTextA(dialog, TitleEdit, reinterpret_cast<const char*>(lParam));
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 2);
            return TRUE;
        case WM_CLOSE:
            EndDialog(dialog, 2);
            return TRUE;
    }
    return FALSE;
}

// The selected headline's text as the list shows it, cut to the dialog's buffer.
void SelectedHeadlineText(char* out) {
    out[0] = '\0';
    int selected = static_cast<int>(SendMessageA(HeadlineList, LB_GETCURSEL, 0, 0));
    if (selected < 0) return;
    LRESULT length = SendMessageA(HeadlineList, LB_GETTEXTLEN, static_cast<WPARAM>(selected), 0);
    if (length <= 0) return;
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(
        HeadlineList, LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text.data()));
    SjisCopyCut(out, TitleTextCapacity, text.data(), std::strlen(text.data()));
}

}  // namespace

bool ShowTitleDialog() {
    if (FocusedView() == BodyView) return false;
    if (SendMessageA(HeadlineList, LB_GETCOUNT, 0, 0) <= 0) return false;
    char title[TitleTextCapacity];
    SelectedHeadlineText(title);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(MainWindow, GWLP_HINSTANCE));
    DialogBoxParamA(instance, "TitleDialog", MainWindow, TitleDialogProc, reinterpret_cast<LPARAM>(title));
    return true;
}
