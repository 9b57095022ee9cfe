#include "library/optiondialogs.h"

#include "app/dialogcontrols.h"
#include "app/shell.h"
#include "library/optionvalues.h"
#include "library/settings.h"
#include "retrieval/headlines.h"

namespace {

// Controls of "LocalDialog".
constexpr int LocalPrefectureBox = 101;
constexpr int LocalRegionBox = 102;

// Controls of "TBNOptionDialog".
constexpr int UpdateCheckBox = 101;
constexpr int StartActionBox = 102;
constexpr int NumberEntriesBox = 103;
constexpr int PrefectureBox = 104;
constexpr int RegionBox = 105;
constexpr int MainTextBox = 106;

constexpr int Hokkaido = 0;

// The Hokkaido sub-region only means something while Hokkaido is the prefecture.
void EnableRegionFor(HWND dialog, int regionId, int prefectureSelection) {
    EnableWindow(GetDlgItem(dialog, regionId), prefectureSelection == Hokkaido);
}

void OnPrefectureChange(HWND dialog, int prefectureId, int regionId) {
    int selection = static_cast<int>(SendDlgItemMessageA(dialog, prefectureId, CB_GETCURSEL, 0, 0));
    EnableRegionFor(dialog, regionId, selection);
}

// --- LocalDialog ---------------------------------------------------------------------------

void OnLocalInit(HWND dialog) {
    FillComboBox(dialog, LocalPrefectureBox, PrefectureTable, PrefectureCount, Settings.Prefecture);
    FillComboBox(dialog, LocalRegionBox, HokkaidoRegionTable, HokkaidoRegionCount, Settings.HokkaidoRegion);
    EnableRegionFor(dialog, LocalRegionBox, Settings.Prefecture);
}

void OnLocalOk(HWND dialog) {
    // The sub-region is stored also while its box is disabled.
    int32_t prefecture = ComboSelection(dialog, LocalPrefectureBox, Settings.Prefecture);
    int32_t region = ComboSelection(dialog, LocalRegionBox, Settings.HokkaidoRegion);
    const SettingWrite writes[] = {
        {"Opetion0",  prefecture},
        {"Opetion15", region    }
    };
    WriteSettings(writes, 2);
    Settings.Prefecture = prefecture;
    Settings.HokkaidoRegion = region;
    EndDialog(dialog, IDOK);
}

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
    SetCheck(dialog, UpdateCheckBox, Opened.updateCheck == 1);
    SetCheck(dialog, NumberEntriesBox, Opened.numberEntries == 1);
    SetCheck(dialog, MainTextBox, Settings.MainTextFallback == 1);
    FillComboBox(dialog, StartActionBox, StartActionTable, StartActionCount, Opened.startAction);
    FillComboBox(dialog, PrefectureBox, PrefectureTable, PrefectureCount, Settings.Prefecture);
    FillComboBox(dialog, RegionBox, HokkaidoRegionTable, HokkaidoRegionCount, Settings.HokkaidoRegion);
    EnableRegionFor(dialog, RegionBox, Settings.Prefecture);
}

void OnGeneralOk(HWND dialog) {
    int32_t updateCheck = IsChecked(dialog, UpdateCheckBox) ? 1 : 0;
    int32_t startAction = ComboSelection(dialog, StartActionBox, Opened.startAction);
    int32_t numberEntries = IsChecked(dialog, NumberEntriesBox) ? 1 : 0;
    int32_t prefecture = ComboSelection(dialog, PrefectureBox, Settings.Prefecture);
    int32_t region = ComboSelection(dialog, RegionBox, Settings.HokkaidoRegion);
    int32_t mainText = IsChecked(dialog, MainTextBox) ? 1 : 0;
    const SettingWrite writes[] = {
        {"Opetion1",  updateCheck  },
        {"Opetion21", startAction  },
        {"Opetion16", numberEntries},
        {"Opetion0",  prefecture   },
        {"Opetion15", region       },
        {"Opetion23", mainText     },
    };
    WriteSettings(writes, 6);
    Settings.NumberEntries = numberEntries;
    Settings.MainTextFallback = mainText;
    Settings.Prefecture = prefecture;
    Settings.HokkaidoRegion = region;
    EndDialog(dialog, IDOK);
}

// The title of list entry i without its number, or nullptr when there is none to show.
const char* ListEntryTitle(int i) {
    if (ScrapbookMode == 1) {
        // While the list shows a scrapbook folder its entries are the article names; they
        // come from the scrapbook's own list of names, which is the one to consult here.
        return nullptr;
    }
    if (i < 0 || i >= HeadlinesPerLevel) return "";
    return HeadlineStore.titles[0][i];
}

}  // namespace

INT_PTR CALLBACK LocalDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            OnLocalInit(dialog);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case LocalPrefectureBox:
                    if (HIWORD(wParam) == CBN_SELCHANGE)
                        OnPrefectureChange(dialog, LocalPrefectureBox, LocalRegionBox);
                    return TRUE;
                case IDOK:
                    OnLocalOk(dialog);
                    return TRUE;
                case IDCANCEL:
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
            }
            break;
    }
    return FALSE;
}

INT_PTR CALLBACK GeneralOptionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            OnGeneralInit(dialog);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case UpdateCheckBox:
                case NumberEntriesBox:
                case MainTextBox:
                    if (HIWORD(wParam) == BN_CLICKED) FlipCheck(dialog, LOWORD(wParam));
                    return TRUE;
                case PrefectureBox:
                    if (HIWORD(wParam) == CBN_SELCHANGE) OnPrefectureChange(dialog, PrefectureBox, RegionBox);
                    return TRUE;
                case IDOK:
                    OnGeneralOk(dialog);
                    return TRUE;
                case IDCANCEL:
                    EndDialog(dialog, IDCANCEL);
                    return TRUE;
            }
            break;
    }
    return FALSE;
}

INT_PTR OpenLocalDialog() {
    return DialogBoxParamA(GetModuleHandleA(nullptr), "LocalDialog", MainWindow, LocalDialogProc, 0);
}

INT_PTR OpenGeneralOptions() {
    INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(nullptr), "TBNOptionDialog", MainWindow, GeneralOptionDialogProc, 0);
    if (result == IDOK) RebuildHeadlineList();
    return result;
}

void RebuildHeadlineList() {
    if (!HeadlineList) return;
    int count = static_cast<int>(SendMessageA(HeadlineList, LB_GETCOUNT, 0, 0));
    if (count <= 0) return;
    if (!ListEntryTitle(0)) return;  // nothing to rebuild the entries from
    LRESULT selection = SendMessageA(HeadlineList, LB_GETCURSEL, 0, 0);
    SendMessageA(HeadlineList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(HeadlineList, LB_RESETCONTENT, 0, 0);
    char entry[ListEntryCapacity];
    for (int i = 0; i < count; ++i) {
        FormatListEntry(entry, sizeof entry, i + 1, ListEntryTitle(i), Settings.NumberEntries);
        SendMessageA(HeadlineList, LB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
    }
    SendMessageA(HeadlineList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(HeadlineList, nullptr, TRUE);
    SendMessageA(HeadlineList, LB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}
