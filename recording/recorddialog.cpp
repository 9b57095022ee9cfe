#include "recording/recorddialog.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "library/textfiles.h"
#include "recording/convert.h"
#include "recording/recordpaths.h"
#include "recording/recordsettings.h"
#include "recording/recordsummary.h"
#include "recording/reservations.h"
#include "resources/resource.h"
#include "speech/speak.h"
#include "win/dialog.h"

HWND RecordingDialog = nullptr;
HWND ProgressDialog = nullptr;

namespace {

// The folders of the open dialog.
char DialogDataFolder[RecordPathCapacity];
char DialogProgramFolder[RecordPathCapacity];
HWND Owner = nullptr;

WNDPROC ListBoxProcedure = nullptr;

HWND ReservationList(HWND dialog) { return GetDlgItem(dialog, IDC_RECORDING_LIST); }

int LineCount(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)); }

// "すべて削除" and "録音開始" only while there is something to delete or record.
void EnableForReservations(HWND dialog) {
    bool any = LineCount(ReservationList(dialog)) > 0;
    EnableWindow(GetDlgItem(dialog, IDC_RECORDING_CLEAR), any);
    EnableWindow(GetDlgItem(dialog, IDOK), any);
}

// Refills the list from the folder and selects line, or the last one when line is past it.
void Refill(HWND dialog, int line) {
    HWND list = ReservationList(dialog);
    int count = FillReservationList(list, DialogDataFolder);
    if (count > 0) SendMessageA(list, LB_SETCURSEL, line < count ? line : count - 1, 0);
    EnableForReservations(dialog);
}

void SayDone(const char* text) { SpeakAndWait(text, 0, 100); }

// --- The edit dialog ------------------------------------------------------------------------

struct Edit {
    char name[ArticleNameCapacity];       // the reservation as listed
    char savedPath[TextPathCapacity];     // where OK saved it
    char savedName[ArticleNameCapacity];  // its name now
};

void OnEditInit(HWND dialog) {
    Edit& edit = *reinterpret_cast<Edit*>(win::DialogParameter(dialog));
    SetDlgItemTextA(dialog, IDC_RECORDING_EDIT_TITLE, edit.name);
    char path[RecordPathCapacity];
    if (ReservationFilePath(DialogDataFolder, edit.name, path, sizeof path))
        ReadTextFile(GetDlgItem(dialog, IDC_RECORDING_EDIT_TEXT), path);
}

bool OnEditOk(HWND dialog) {
    Edit& edit = *reinterpret_cast<Edit*>(win::DialogParameter(dialog));
    char title[ArticleNameCapacity] = "";
    GetDlgItemTextA(dialog, IDC_RECORDING_EDIT_TITLE, title, sizeof title);
    char folder[RecordPathCapacity];
    if (!title[0]) {
        MessageBoxA(dialog, "記事タイトルを入力してください。", "編集", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!ReservationFolder(DialogDataFolder, folder, sizeof folder) ||
        !WriteTextFile(GetDlgItem(dialog, IDC_RECORDING_EDIT_TEXT),
                       folder,
                       title,
                       edit.savedPath,
                       sizeof edit.savedPath)) {
        MessageBoxA(dialog, "予約記事を保存できませんでした。", "編集", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    const char* fileName = std::strrchr(edit.savedPath, '\\');
    TextFileTitle(fileName ? fileName + 1 : edit.savedPath, edit.savedName, sizeof edit.savedName);
    return true;
}

const win::DialogSpec EditSpec = {IDD_RECORDING_EDIT, nullptr, 0, OnEditInit, OnEditOk, nullptr};

// Space in the list: edits the selected reservation. A new title saves it under the new name
// and removes the old file.
void EditSelected(HWND list) {
    int line = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
    if (line < 0 || line >= ArticleNameCount ||
        SendMessageA(list, LB_GETTEXTLEN, line, 0) >= LRESULT(ArticleNameCapacity))
        return;
    Edit edit = {};
    SendMessageA(list, LB_GETTEXT, line, reinterpret_cast<LPARAM>(edit.name));
    LoadLibraryA("riched20.dll");  // the editor's control class
    if (win::RunModalDialog(list, EditSpec, reinterpret_cast<LPARAM>(&edit)) != IDOK) return;
    char oldPath[RecordPathCapacity];
    // The file system ignores case: a title changed only in case is the same file.
    if (!ReservationFilePath(DialogDataFolder, edit.name, oldPath, sizeof oldPath) ||
        lstrcmpiA(oldPath, edit.savedPath) == 0)
        return;
    DeleteFileA(oldPath);
    SendMessageA(list, LB_DELETESTRING, line, 0);
    SendMessageA(list, LB_INSERTSTRING, line, reinterpret_cast<LPARAM>(edit.savedName));
    SendMessageA(list, LB_SETCURSEL, line, 0);
    lstrcpynA(ArticleNames[2][line], edit.savedName, ArticleNameCapacity);
    SayDone("変更を保存しました");
}

// Delete in the list: deletes the selected reservation without asking.
void DeleteSelected(HWND list) {
    int line = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
    if (line < 0 || line >= ArticleNameCount) return;
    DeleteReservation(DialogDataFolder, ArticleNames[2][line]);
    Refill(GetParent(list), line);
    SayDone("削除しました");
}

LRESULT CALLBACK ReservationListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && LineCount(list) > 0) {
        if (wParam == VK_SPACE) {
            EditSelected(list);
            return 0;
        }
        if (wParam == VK_DELETE) {
            DeleteSelected(list);
            return 0;
        }
    }
    // The space of an edit must not also search the list.
    if (message == WM_CHAR && wParam == ' ') return 0;
    return CallWindowProcA(ListBoxProcedure, list, message, wParam, lParam);
}

// --- The progress dialog --------------------------------------------------------------------

// The worker is running: the progress dialog is up, or closing while the worker stops.
bool ConversionRuns = false;

void OnProgressInit(HWND dialog) {
    ProgressDialog = dialog;
    HWND recording = reinterpret_cast<HWND>(win::DialogParameter(dialog));
    ConversionRuns = StartConversion(recording, DialogDataFolder, DialogProgramFolder);
    if (!ConversionRuns) EndDialog(dialog, IDABORT);
}

// The dialog has no buttons: Enter does nothing, and only the worker's end closes it.
bool OnProgressOk(HWND) { return false; }

// Escape, Alt+F4 or the close box: the worker is asked to stop after the article in progress,
// and the dialog says so until it has stopped (the worker's end closes it).
bool OnProgressCommand(HWND dialog, int id, int) {
    if (id != IDCANCEL) return false;
    InterlockedExchange(&AbortRequest, 1);
    SetWindowTextA(dialog, "録音の中断");
    SetDlgItemTextA(dialog, IDC_RECORDING_PROGRESS_TEXT, "録音作業の中断処理を行っています。");
    return true;
}

const win::DialogSpec ProgressSpec = {
    IDD_RECORDING_PROGRESS, nullptr, 0, OnProgressInit, OnProgressOk, OnProgressCommand};

void ShowSummary(HWND dialog) {
    char text[ConversionSummaryCapacity];
    ConversionSummaryText(LastConversion, text, sizeof text);
    SetForegroundWindow(dialog);
    UINT icon = ConversionFailed(LastConversion) ? MB_ICONEXCLAMATION : MB_ICONINFORMATION;
    MessageBoxA(dialog, text, "録音完了", MB_OK | icon);
}

// "録音開始": converts while the progress dialog is up. Closing that dialog stops the
// conversion after the article in progress.
void StartRecording(HWND dialog) {
    // One conversion at a time: the recording dialog stays usable behind the progress dialog.
    if (ConversionRuns || ProgressDialog || LineCount(ReservationList(dialog)) == 0) return;
    INT_PTR ended = win::RunModalDialog(Owner, ProgressSpec, reinterpret_cast<LPARAM>(dialog));
    ProgressDialog = nullptr;
    ConversionRuns = false;
    if (ended == IDOK) {
        EnableForReservations(dialog);
        SetFocus(GetDlgItem(dialog, IDC_RECORDING_OPEN_FOLDER));
        ShowSummary(dialog);
        return;
    }
    if (ended == IDABORT)
        MessageBoxA(dialog, "録音を開始できませんでした。", "ニュース録音", MB_OK | MB_ICONEXCLAMATION);
    SetFocus(ReservationList(dialog));
}

// What the conversion worker reports: each finished reservation, then the end.
// The list is refilled as reservations are finished; the reservation the user had selected
// stays selected while it is listed.
void OnConversionReport(HWND dialog, int id, int code) {
    if (id == IDC_RECORDING_FINISHED) {
        ConversionRuns = false;
        if (ProgressDialog) EndDialog(ProgressDialog, code ? IDCANCEL : IDOK);
    }
    HWND list = ReservationList(dialog);
    int line = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
    char selected[ArticleNameCapacity] = "";
    if (line >= 0 && SendMessageA(list, LB_GETTEXTLEN, line, 0) < LRESULT(sizeof selected))
        SendMessageA(list, LB_GETTEXT, line, reinterpret_cast<LPARAM>(selected));
    Refill(dialog, line < 0 ? 0 : line);
    if (selected[0]) {
        LRESULT found = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(selected));
        if (found != LB_ERR) SendMessageA(list, LB_SETCURSEL, found, 0);
    }
}

void ClearAll(HWND dialog) {
    int answer =
        MessageBoxA(dialog,
                    "全ての予約記事を削除しようとしています。\nこのまま削除作業を続行してよろしいですか？",
                    "削除確認",
                    MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) return;
    HWND list = ReservationList(dialog);
    int count = LineCount(list);
    for (int i = 0; i < count && i < ArticleNameCount; i++)
        DeleteReservation(DialogDataFolder, ArticleNames[2][i]);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    SetFocus(list);
    EnableForReservations(dialog);
    SayDone("削除しました");
}

void OpenOutputFolder(HWND dialog) {
    char folder[RecordPathCapacity];
    if (std::snprintf(folder, sizeof folder, "%s\\mp3", DialogDataFolder) < int(sizeof folder))
        ShellExecuteA(dialog, nullptr, folder, nullptr, nullptr, SW_SHOWNORMAL);
}

void OnInit(HWND dialog) {
    RecordingDialog = dialog;
    HWND list = ReservationList(dialog);
    ListBoxProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReservationListProc)));
    Refill(dialog, 0);
}

bool OnStart(HWND dialog) {
    StartRecording(dialog);
    return false;  // the dialog stays open
}

bool OnCommand(HWND dialog, int id, int code) {
    switch (id) {
        case IDC_RECORDING_CLEAR:
            ClearAll(dialog);
            return true;
        case IDC_RECORDING_OPEN_FOLDER:
            OpenOutputFolder(dialog);
            return true;
        case IDC_RECORDING_SETTINGS:
            RunRecordingSettings(dialog, DialogDataFolder);
            return true;
        case IDC_RECORDING_ITEM_DONE:
        case IDC_RECORDING_FINISHED:
            OnConversionReport(dialog, id, code);
            return true;
    }
    return false;
}

const win::DialogSpec RecordingSpec = {IDD_RECORDING, nullptr, 0, OnInit, OnStart, OnCommand};

}  // namespace

void RunRecordingDialog(HWND owner, const char* dataFolder, const char* programFolder) {
    Owner = owner;
    lstrcpynA(DialogDataFolder, dataFolder, sizeof DialogDataFolder);
    lstrcpynA(DialogProgramFolder, programFolder, sizeof DialogProgramFolder);
    win::RunModalDialog(owner, RecordingSpec);
    RecordingDialog = nullptr;
}
