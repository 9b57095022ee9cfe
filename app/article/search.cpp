#include "app/article/search.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "app/article/bodyview.h"
#include "app/state/shell.h"
#include "resources/resource.h"
#include "retrieval/sjis.h"
#include "speech/speak.h"
#include "win/dialog.h"

char FindText[FindTextCapacity];
int FindTarget = 0;

namespace {

constexpr int TargetMenuList = 0;
constexpr int TargetHeadlineList = 1;
constexpr int TargetBody = 2;

void TakeTargetFromFocus() {
    HWND focus = FocusedView();
    if (!focus) return;
    if (focus == MenuList) FindTarget = TargetMenuList;
    if (focus == HeadlineList) FindTarget = TargetHeadlineList;
    if (focus == BodyView) FindTarget = TargetBody;
}

void OnFindInit(HWND dialog) {
    if (FindText[0]) SetDlgItemTextA(dialog, IDC_FIND_TEXT, FindText);
}

// The search button: an empty box is refused with a message and keeps the dialog open.
bool OnFindCommand(HWND dialog, int id, int) {
    if (id != IDC_FIND_BUTTON) return false;
    HWND edit = GetDlgItem(dialog, IDC_FIND_TEXT);
    int length = GetWindowTextLengthA(edit);
    if (length <= 0) {
        MessageBoxA(
            dialog, "検索する文字列が入力されていません", "検索実行エラー", MB_OK | MB_ICONINFORMATION);
        SetFocus(edit);
        return true;
    }
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(edit, text.data(), length + 1);
    // Longer text is cut to the buffer, never in the middle of a character.
    SjisCopyCut(FindText, sizeof FindText, text.data(), std::strlen(text.data()));
    EndDialog(dialog, IDOK);
    return true;
}

const win::DialogSpec FindDialogSpec = {IDD_FIND, nullptr, 0, OnFindInit, nullptr, OnFindCommand};

bool RunFindDialog() { return win::RunModalDialog(MainWindow, FindDialogSpec) == IDOK; }

void SearchBody(bool forward) {
    std::string text = BodyText();
    long found = FindInBody(text.data(), text.size(), FindText, BodyCaret(), forward);
    if (found < 0) {
        SpeakMessage("見つかりませんでした", 0);
        return;
    }
    SetBodyCaret(found);
    AnnouncePosition();
}

std::vector<std::string> ListEntries(HWND list) {
    std::vector<std::string> entries;
    int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::vector<char> text(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
        if (length > 0)
            SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        entries.emplace_back(text.data());
    }
    return entries;
}

void SearchList(HWND list, bool forward) {
    std::vector<std::string> entries = ListEntries(list);
    int selected = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
    int found = FindInList(entries, selected, FindText, forward);
    if (found < 0) {
        SpeakMessage("見つかりませんでした", 0);
        return;
    }
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
    // NVDA reports the new selection by itself; PC-Talker is told the entry.
    SpeakForPcTalker(entries[found].c_str(), 0);
}

void Search(bool forward) {
    if (FindTarget == TargetBody)
        SearchBody(forward);
    else
        SearchList(FindTarget == TargetHeadlineList ? HeadlineList : MenuList, forward);
}

}  // namespace

bool FindWithDialog() {
    TakeTargetFromFocus();
    if (RunFindDialog()) Search(true);
    return true;
}

bool FindNext() {
    TakeTargetFromFocus();
    if (FindText[0] == '\0' && !RunFindDialog()) return true;
    Search(true);
    return true;
}

bool FindPrevious() {
    TakeTargetFromFocus();
    if (FindText[0] != '\0') Search(false);
    return true;
}
