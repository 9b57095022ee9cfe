#include "app/dialogcontrols.h"

#include "library/optionvalues.h"

void FillComboBox(HWND dialog, int id, const char* const* names, int count, int32_t selection) {
    HWND box = GetDlgItem(dialog, id);
    for (int i = 0; i < count; ++i)
        SendMessageA(box, CB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(names[i]));
    SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

int32_t ComboSelection(HWND dialog, int id, int32_t openedWith) {
    int selection = static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0));
    return ChosenIndex(selection, openedWith);
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void SetCheck(HWND dialog, int id, bool checked) {
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void FlipCheck(HWND dialog, int id) { SetCheck(dialog, id, !IsChecked(dialog, id)); }
