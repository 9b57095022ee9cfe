#include "speech/speechdialog.h"

#include "library/settings.h"
#include "resources/resource.h"
#include "win/dialog.h"

namespace {

// The position of a name is its SpeechEngine value.
const char EngineNames[3][16] = {"音声なし", "PC-Talker", "NVDA"};

void OnInit(HWND dialog) {
    const char* const names[] = {EngineNames[0], EngineNames[1], EngineNames[2]};
    win::FillComboBox(dialog, IDC_SPEECH_ENGINE, names, 3, Settings.SpeechEngine);
    win::SetCheck(dialog, IDC_SPEECH_COUNT_NOTICE, Settings.CountNotice == 1);
    win::SetCheck(dialog, IDC_SPEECH_READ_ON_RECEIVE, Settings.ReadOnReceive == 1);
}

bool OnOk(HWND dialog) {
    int32_t engine = win::ComboSelection(dialog, IDC_SPEECH_ENGINE, Settings.SpeechEngine);
    int32_t countNotice = win::IsChecked(dialog, IDC_SPEECH_COUNT_NOTICE) ? 1 : 0;
    int32_t readOnReceive = win::IsChecked(dialog, IDC_SPEECH_READ_ON_RECEIVE) ? 1 : 0;
    // The new engine speaks the very next message.
    const SettingChange changes[] = {
        {&SettingsRecord::SpeechEngine,  engine       },
        {&SettingsRecord::CountNotice,   countNotice  },
        {&SettingsRecord::ReadOnReceive, readOnReceive},
    };
    StoreSettings(changes, 3);
    return true;
}

const int Checks[] = {IDC_SPEECH_COUNT_NOTICE, IDC_SPEECH_READ_ON_RECEIVE};
const win::DialogSpec SpeechDialog = {IDD_SPEECH, Checks, 2, OnInit, OnOk, nullptr};

}  // namespace

INT_PTR OpenSpeechSettings(HWND owner) { return win::RunModalDialog(owner, SpeechDialog); }
