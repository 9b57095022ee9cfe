#include "speech/speechdialog.h"

#include "app/shell.h"
#include "library/optionvalues.h"
#include "library/settings.h"

namespace {

constexpr int EngineBox = 101;
constexpr int CountNoticeBox = 106;
constexpr int ReadOnReceiveBox = 107;

// The position of a name is its SpeechEngine value.
const char EngineNames[3][16] = {"音声なし", "PC-Talker", "NVDA"};

bool IsChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void OnInit(HWND dialog) {
    HWND box = GetDlgItem(dialog, EngineBox);
    for (const char* name : EngineNames) SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(Settings.SpeechEngine), 0);
    CheckDlgButton(dialog, CountNoticeBox, Settings.CountNotice == 1 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, ReadOnReceiveBox, Settings.ReadOnReceive == 1 ? BST_CHECKED : BST_UNCHECKED);
}

void OnOk(HWND dialog) {
    int selection = static_cast<int>(SendDlgItemMessageA(dialog, EngineBox, CB_GETCURSEL, 0, 0));
    int32_t engine = ChosenIndex(selection, Settings.SpeechEngine);
    int32_t countNotice = IsChecked(dialog, CountNoticeBox) ? 1 : 0;
    int32_t readOnReceive = IsChecked(dialog, ReadOnReceiveBox) ? 1 : 0;
    const SettingWrite writes[] = {
        {"Opetion20", engine}, {"Opetion17", countNotice}, {"Opetion22", readOnReceive}};
    WriteSettings(writes, 3);
    // The new engine speaks the very next message.
    Settings.SpeechEngine = engine;
    Settings.CountNotice = countNotice;
    Settings.ReadOnReceive = readOnReceive;
    EndDialog(dialog, IDOK);
}

}  // namespace

INT_PTR CALLBACK SpeechDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        OnInit(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case CountNoticeBox:
        case ReadOnReceiveBox:
            if (HIWORD(wParam) == BN_CLICKED)
                CheckDlgButton(dialog, LOWORD(wParam),
                               IsChecked(dialog, LOWORD(wParam)) ? BST_UNCHECKED : BST_CHECKED);
            return TRUE;
        case IDOK:
            OnOk(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR OpenSpeechSettings() {
    return DialogBoxParamA(GetModuleHandleA(nullptr), "TBSpeechDialog", MainWindow, SpeechDialogProc, 0);
}
