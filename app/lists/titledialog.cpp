#include "app/lists/titledialog.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "app/state/shell.h"
#include "resources/resource.h"
#include "retrieval/sjis.h"
#include "win/dialog.h"

namespace {

// The entry as the list shows it: a title of 255 bytes and its number.
constexpr size_t TitleTextCapacity = 264;

void OnTitleInit(HWND dialog) {
    SetDlgItemTextA(dialog, IDC_TITLE_TEXT, reinterpret_cast<const char*>(win::DialogParameter(dialog)));
}

const win::DialogSpec TitleDialogSpec = {IDD_TITLE, nullptr, 0, OnTitleInit, nullptr, nullptr};

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
    char title[TitleTextCapacity];
    SelectedHeadlineText(title);
    win::RunModalDialog(MainWindow, TitleDialogSpec, reinterpret_cast<LPARAM>(title));
    return true;
}
