#include "win/dialog.h"

namespace win {

namespace {

struct RunningDialog {
    const DialogSpec* spec;
    LPARAM parameter;
};

const RunningDialog* Running(HWND dialog) {
    return reinterpret_cast<const RunningDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

bool IsCheckBox(const DialogSpec& spec, int id) {
    for (int i = 0; i < spec.checkBoxCount; ++i)
        if (spec.checkBoxes[i] == id) return true;
    return false;
}

INT_PTR CALLBACK SkeletonProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        const RunningDialog* running = reinterpret_cast<const RunningDialog*>(lParam);
        if (running->spec->onInit) running->spec->onInit(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    const RunningDialog* running = Running(dialog);
    if (!running) return FALSE;
    const DialogSpec& spec = *running->spec;
    int id = LOWORD(wParam);
    int code = HIWORD(wParam);
    if (IsCheckBox(spec, id)) {
        if (code == BN_CLICKED) FlipCheck(dialog, id);
        return TRUE;
    }
    switch (id) {
        case IDOK:
            if (!spec.onOk || spec.onOk(dialog)) EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            // A dialog that must outlive a request to close (one waiting for a worker) takes
            // Cancel in onCommand.
            if (spec.onCommand && spec.onCommand(dialog, id, code)) return TRUE;
            EndDialog(dialog, IDCANCEL);
            return TRUE;
    }
    return spec.onCommand && spec.onCommand(dialog, id, code) ? TRUE : FALSE;
}

}  // namespace

INT_PTR RunModalDialog(HWND owner, const DialogSpec& spec, LPARAM parameter) {
    RunningDialog running{&spec, parameter};
    return DialogBoxParamA(GetModuleHandleA(nullptr),
                           spec.templateName,
                           owner,
                           SkeletonProc,
                           reinterpret_cast<LPARAM>(&running));
}

LPARAM DialogParameter(HWND dialog) {
    const RunningDialog* running = Running(dialog);
    return running ? running->parameter : 0;
}

void FillComboBox(HWND dialog, int id, const char* const* names, int count, int32_t selection) {
    HWND box = GetDlgItem(dialog, id);
    for (int i = 0; i < count; ++i)
        SendMessageA(box, CB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(names[i]));
    SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

int32_t ComboSelection(HWND dialog, int id, int32_t openedWith) {
    int selection = static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0));
    return selection < 0 ? openedWith : selection;
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void SetCheck(HWND dialog, int id, bool checked) {
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void FlipCheck(HWND dialog, int id) { SetCheck(dialog, id, !IsChecked(dialog, id)); }

}  // namespace win
