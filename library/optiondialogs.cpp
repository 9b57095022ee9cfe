#include "library/optiondialogs.h"

#include "library/settings.h"
#include "resources/resource.h"
#include "win/dialog.h"

namespace {

using win::ComboSelection;
using win::FillComboBox;
using win::IsChecked;
using win::SetCheck;

constexpr int Hokkaido = 0;

// The Hokkaido sub-region only means something while Hokkaido is the prefecture.
void EnableRegionFor(HWND dialog, int regionId, int prefectureSelection) {
    EnableWindow(GetDlgItem(dialog, regionId), prefectureSelection == Hokkaido);
}

bool OnPrefectureChange(HWND dialog, int prefectureId, int regionId, int id, int code) {
    if (id != prefectureId) return false;
    if (code == CBN_SELCHANGE) {
        int selection = static_cast<int>(SendDlgItemMessageA(dialog, prefectureId, CB_GETCURSEL, 0, 0));
        EnableRegionFor(dialog, regionId, selection);
    }
    return true;
}

// --- LocalDialog ---------------------------------------------------------------------------

void OnLocalInit(HWND dialog) {
    FillComboBox(dialog, IDC_LOCAL_PREFECTURE, PrefectureTable, PrefectureCount, Settings.Prefecture);
    FillComboBox(dialog, IDC_LOCAL_REGION, HokkaidoRegionTable, HokkaidoRegionCount, Settings.HokkaidoRegion);
    EnableRegionFor(dialog, IDC_LOCAL_REGION, Settings.Prefecture);
}

bool OnLocalOk(HWND dialog) {
    // The sub-region is stored also while its box is disabled.
    int32_t prefecture = ComboSelection(dialog, IDC_LOCAL_PREFECTURE, Settings.Prefecture);
    int32_t region = ComboSelection(dialog, IDC_LOCAL_REGION, Settings.HokkaidoRegion);
    const SettingChange changes[] = {
        {&SettingsRecord::Prefecture,     prefecture},
        {&SettingsRecord::HokkaidoRegion, region    },
    };
    StoreSettings(changes, 2);
    return true;
}

bool OnLocalCommand(HWND dialog, int id, int code) {
    return OnPrefectureChange(dialog, IDC_LOCAL_PREFECTURE, IDC_LOCAL_REGION, id, code);
}

const win::DialogSpec LocalDialog = {IDD_LOCAL, nullptr, 0, OnLocalInit, OnLocalOk, OnLocalCommand};

// --- TBNOptionDialog -----------------------------------------------------------------------

// What the dialog was opened with. The update check and the start action take effect at the
// next start only, so they are read from the registry, not from the values of this start.
struct GeneralOpened {
    int32_t updateCheck;
    int32_t startAction;
    int32_t numberEntries;
};
GeneralOpened Opened;

void OnGeneralInit(HWND dialog) {
    Opened = {Settings.UpdateCheckAtStart, Settings.StartAction, Settings.NumberEntries};
    const SettingRead reads[] = {
        {"Opetion1",  &Opened.updateCheck  },
        {"Opetion21", &Opened.startAction  },
        {"Opetion16", &Opened.numberEntries},
    };
    ReadSettings(reads, 3);
    SetCheck(dialog, IDC_OPTIONS_UPDATE_CHECK, Opened.updateCheck == 1);
    SetCheck(dialog, IDC_OPTIONS_NUMBER_ENTRIES, Opened.numberEntries == 1);
    FillComboBox(dialog, IDC_OPTIONS_START_ACTION, StartActionTable, StartActionCount, Opened.startAction);
    FillComboBox(dialog, IDC_OPTIONS_PREFECTURE, PrefectureTable, PrefectureCount, Settings.Prefecture);
    FillComboBox(
        dialog, IDC_OPTIONS_REGION, HokkaidoRegionTable, HokkaidoRegionCount, Settings.HokkaidoRegion);
    EnableRegionFor(dialog, IDC_OPTIONS_REGION, Settings.Prefecture);
}

bool OnGeneralOk(HWND dialog) {
    int32_t updateCheck = IsChecked(dialog, IDC_OPTIONS_UPDATE_CHECK) ? 1 : 0;
    int32_t startAction = ComboSelection(dialog, IDC_OPTIONS_START_ACTION, Opened.startAction);
    int32_t numberEntries = IsChecked(dialog, IDC_OPTIONS_NUMBER_ENTRIES) ? 1 : 0;
    int32_t prefecture = ComboSelection(dialog, IDC_OPTIONS_PREFECTURE, Settings.Prefecture);
    int32_t region = ComboSelection(dialog, IDC_OPTIONS_REGION, Settings.HokkaidoRegion);
    const SettingChange changes[] = {
        {&SettingsRecord::UpdateCheckAtStart, updateCheck  },
        {&SettingsRecord::StartAction,        startAction  },
        {&SettingsRecord::NumberEntries,      numberEntries},
        {&SettingsRecord::Prefecture,         prefecture   },
        {&SettingsRecord::HokkaidoRegion,     region       },
    };
    StoreSettings(changes, 5);
    return true;
}

bool OnGeneralCommand(HWND dialog, int id, int code) {
    return OnPrefectureChange(dialog, IDC_OPTIONS_PREFECTURE, IDC_OPTIONS_REGION, id, code);
}

const int GeneralChecks[] = {IDC_OPTIONS_UPDATE_CHECK, IDC_OPTIONS_NUMBER_ENTRIES};
const win::DialogSpec GeneralDialog = {
    IDD_GENERAL_OPTIONS, GeneralChecks, 2, OnGeneralInit, OnGeneralOk, OnGeneralCommand};

}  // namespace

INT_PTR OpenLocalDialog(HWND owner) { return win::RunModalDialog(owner, LocalDialog); }

INT_PTR OpenGeneralOptions(HWND owner) { return win::RunModalDialog(owner, GeneralDialog); }
