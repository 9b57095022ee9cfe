#include "speech/speechdialog.h"

#include "app/dialogcontrols.h"
#include "app/shell.h"
#include "library/optionvalues.h"
#include "library/settings.h"

namespace {

constexpr int EngineBox = 101;
constexpr int CountNoticeBox = 106;
constexpr int ReadOnReceiveBox = 107;

// The position of a name is its SpeechEngine value.
const char EngineNames[3][16] = {"音声なし", "PC-Talker", "NVDA"};

void OnInit(HWND dialog) {
    const char* const names[] = {EngineNames[0], EngineNames[1], EngineNames[2]};
    FillComboBox(dialog, EngineBox, names, 3, Settings.SpeechEngine);
    SetCheck(dialog, CountNoticeBox, Settings.CountNotice == 1);
    SetCheck(dialog, ReadOnReceiveBox, Settings.ReadOnReceive == 1);
}

void OnOk(HWND dialog) {
    int32_t engine = ComboSelection(dialog, EngineBox, Settings.SpeechEngine);
    int32_t countNotice = IsChecked(dialog, CountNoticeBox) ? 1 : 0;
    int32_t readOnReceive = IsChecked(dialog, ReadOnReceiveBox) ? 1 : 0;
    const SettingWrite writes[] = {
        {"Opetion20", engine       },
        {"Opetion17", countNotice  },
        {"Opetion22", readOnReceive}
    };
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
                    if (HIWORD(wParam) == BN_CLICKED) FlipCheck(dialog, LOWORD(wParam));
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
