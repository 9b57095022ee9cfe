// The scrapbook commands (entry points of app/state/entrypoints.h): saving the shown article,
// editing, moving and deleting saved ones, adding, renaming and deleting folders. The folder
// menu that offers the last three is opened by app/window/contextmenu.cpp.
#include <cstdio>
#include <cstring>
#include <richedit.h>
#include <vector>

#include "app/state/entrypoints.h"
#include "app/state/listshown.h"
#include "app/scrapbook/scrapbookview.h"
#include "app/state/shell.h"
#include "library/optionvalues.h"
#include "library/scrapbook.h"
#include "library/settings.h"
#include "resources/resource.h"
#include "retrieval/headlines.h"
#include "speech/speak.h"
#include "win/dialog.h"
#include "win/plaintext.h"

namespace {

constexpr int FolderNameLimit = 259;

// The dialogs' rich edit controls are of the newer class, registered by its own library.
void LoadRichEdit20() {
    static HMODULE library = LoadLibraryA("RICHED20.DLL");
    (void)library;
}

void PrepareTextBox(HWND dialog, int id) {
    SendDlgItemMessageA(dialog, id, EM_EXLIMITTEXT, 0, BodyTextLimit);
}

void Text(HWND dialog, int id, char* out, int capacity) { GetDlgItemTextA(dialog, id, out, capacity); }

// Back to a name box after a failure, its text selected to be typed over, and the failure said.
void RetryIn(HWND dialog, int id, const char* failure) {
    HWND box = GetDlgItem(dialog, id);
    SetFocus(box);
    SendMessageA(box, EM_SETSEL, 0, -1);
    SpeakMessage(failure, 0);
}

int ListSelection(HWND dialog, int id) {
    return static_cast<int>(SendDlgItemMessageA(dialog, id, LB_GETCURSEL, 0, 0));
}

// The scrapbook folders into a dialog's list box; returns how many.
int FillFolderBox(HWND dialog, int id) {
    int count = ListScrapFolders(DataFolder);
    SendDlgItemMessageA(dialog, id, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; ++i)
        SendDlgItemMessageA(dialog, id, LB_INSERTSTRING, i, reinterpret_cast<LPARAM>(FolderNames[i]));
    SendDlgItemMessageA(dialog, id, LB_SETCURSEL, 0, 0);
    return count;
}

// The folder chosen in a dialog's list box, as the box lists it.
bool ChosenFolder(HWND dialog, int id, char* folder) {
    return FolderNameAt(GetDlgItem(dialog, id), ListSelection(dialog, id), folder, TextPathCapacity);
}

bool Focused(HWND view) { return FocusedView() == view; }

bool ArticleListShown() { return HeadlineListContent() == ListContent::ScrapArticles; }

// --- ScrapBook1Dialog: saving the article shown ---------------------------------------------

// The title of the page shown, as it is saved: what follows its first line feed, without ASCII
// spaces. The stored title is cleaned with it.
char* CleanShownTitle() {
    int depth = PageDepth;
    if (depth < 1 || depth > HeadlineLevels) return nullptr;
    char* title = HeadlineStore.pageTitles[depth - 1];
    if (char* feed = std::strchr(title, '\n')) std::memmove(title, feed + 1, std::strlen(feed + 1) + 1);
    char* out = title;
    for (const char* in = title; *in; ++in)
        if (*in != ' ') *out++ = *in;
    *out = '\0';
    return title;
}

void SelectDefaultFolder(HWND dialog, int count) {
    int position = FindScrapFolder(DefaultScrapFolder, count);
    SendDlgItemMessageA(dialog, IDC_SCRAP_SAVE_FOLDERS, LB_SETCURSEL, position >= 0 ? position : 0, 0);
}

void OnSaveInit(HWND dialog) {
    SendDlgItemMessageA(dialog, IDC_SCRAP_SAVE_TITLE, EM_LIMITTEXT, TitleCapacity - 1, 0);
    const char* title = CleanShownTitle();
    SetDlgItemTextA(dialog, IDC_SCRAP_SAVE_TITLE, title ? title : "");
    PrepareTextBox(dialog, IDC_SCRAP_SAVE_TEXT);
    int length = GetWindowTextLengthA(BodyView);
    std::vector<char> text(static_cast<size_t>(length) * 2 + 2, '\0');
    GetWindowTextA(BodyView, text.data(), static_cast<int>(text.size() - 1));
    win::SetRichEditPlainText(GetDlgItem(dialog, IDC_SCRAP_SAVE_TEXT), text.data());
    SelectDefaultFolder(dialog, FillFolderBox(dialog, IDC_SCRAP_SAVE_FOLDERS));
}

bool RunNewFolderDialog(HWND owner);

bool SaveChosen(HWND dialog) {
    char folder[TextPathCapacity], folderPath[TextPathCapacity], title[TitleCapacity];
    Text(dialog, IDC_SCRAP_SAVE_TITLE, title, sizeof title);
    bool saved = ChosenFolder(dialog, IDC_SCRAP_SAVE_FOLDERS, folder) &&
                 ScrapFolderPath(folderPath, sizeof folderPath, DataFolder, folder) &&
                 WriteTextFile(GetDlgItem(dialog, IDC_SCRAP_SAVE_TEXT), folderPath, title) == 1;
    if (saved) return true;
    RetryIn(dialog, IDC_SCRAP_SAVE_TITLE, "スクラップブックへの保存に失敗しました");
    return false;
}

bool OnSaveCommand(HWND dialog, int id, int code) {
    if (code != BN_CLICKED) return false;
    if (id == IDC_SCRAP_SAVE_SAVE) {
        if (SaveChosen(dialog)) EndDialog(dialog, IDOK);
        return true;
    }
    if (id == IDC_SCRAP_SAVE_NEW_FOLDER) {
        if (RunNewFolderDialog(dialog)) {
            FillFolderBox(dialog, IDC_SCRAP_SAVE_FOLDERS);
            SetFocus(GetDlgItem(dialog, IDC_SCRAP_SAVE_FOLDERS));
        }
        return true;
    }
    return false;
}

const win::DialogSpec SaveSpec = {IDD_SCRAP_SAVE, nullptr, 0, OnSaveInit, nullptr, OnSaveCommand};

// --- The article selected in the list, as the edit and move dialogs work on it --------------

struct ArticleJob {
    int position;
    char title[ArticleNameCapacity];
    char oldPath[TextPathCapacity];
    bool moved;
};

// False when no article is selected.
bool TakeSelectedArticle(ArticleJob* job) {
    const char* title;
    if (!SelectedScrapArticle(&job->position, &title)) return false;
    std::snprintf(job->title, sizeof job->title, "%s", title);
    return ScrapArticlePath(job->oldPath, sizeof job->oldPath, DataFolder, CurrentScrapFolder, title) == 1;
}

// --- ScrapBook3Dialog: editing the selected article -----------------------------------------

void OnEditInit(HWND dialog) {
    const ArticleJob* job = reinterpret_cast<const ArticleJob*>(win::DialogParameter(dialog));
    SendDlgItemMessageA(dialog, IDC_SCRAP_EDIT_TITLE, EM_LIMITTEXT, TitleCapacity - 1, 0);
    SetDlgItemTextA(dialog, IDC_SCRAP_EDIT_TITLE, job->title);
    PrepareTextBox(dialog, IDC_SCRAP_EDIT_TEXT);
    ReadTextFile(GetDlgItem(dialog, IDC_SCRAP_EDIT_TEXT), job->oldPath);
}

// Shows the article under its new title in the list, at the same position.
void ReplaceEntry(int position, const char* path) {
    const char* name = std::strrchr(path, '\\');
    char title[ArticleNameCapacity];
    if (!TextFileTitle(name ? name + 1 : path, title, sizeof title)) return;
    std::snprintf(ArticleNames[1][position], ArticleNameCapacity, "%s", title);
    char entry[ArticleNameCapacity + 16];
    FormatListEntry(entry, sizeof entry, position + 1, title, Settings.NumberEntries);
    SendMessageA(HeadlineList, LB_DELETESTRING, position, 0);
    SendMessageA(HeadlineList, LB_INSERTSTRING, position, reinterpret_cast<LPARAM>(entry));
    SendMessageA(HeadlineList, LB_SETCURSEL, position, 0);
}

bool SaveEdited(HWND dialog, const ArticleJob& job) {
    char folderPath[TextPathCapacity], title[TitleCapacity], path[TextPathCapacity];
    Text(dialog, IDC_SCRAP_EDIT_TITLE, title, sizeof title);
    if (!ScrapFolderPath(folderPath, sizeof folderPath, DataFolder, CurrentScrapFolder) ||
        !WriteTextFile(GetDlgItem(dialog, IDC_SCRAP_EDIT_TEXT), folderPath, title, path, sizeof path)) {
        RetryIn(dialog, IDC_SCRAP_EDIT_TITLE, "スクラップブックへの保存に失敗しました");
        return false;
    }
    // The file system does not tell names apart by case: the same name in other case is the
    // file just written, which must not be deleted.
    if (lstrcmpiA(path, job.oldPath) != 0) {
        DeleteFileA(job.oldPath);
        ReplaceEntry(job.position, path);
    }
    SetWindowTextA(BodyView, "");
    ReadTextFile(BodyView, path);
    return true;
}

bool OnEditCommand(HWND dialog, int id, int code) {
    if (id != IDC_SCRAP_EDIT_OK || code != BN_CLICKED) return false;
    const ArticleJob* job = reinterpret_cast<const ArticleJob*>(win::DialogParameter(dialog));
    if (SaveEdited(dialog, *job)) EndDialog(dialog, IDOK);
    return true;
}

const win::DialogSpec EditSpec = {IDD_SCRAP_EDIT, nullptr, 0, OnEditInit, nullptr, OnEditCommand};

// --- ScrapBook4Dialog: moving the selected article ------------------------------------------

void OnMoveInit(HWND dialog) { FillFolderBox(dialog, IDC_SCRAP_MOVE_FOLDERS); }

bool OnMoveOk(HWND dialog) {
    ArticleJob* job = reinterpret_cast<ArticleJob*>(win::DialogParameter(dialog));
    char target[TextPathCapacity];
    job->moved = ChosenFolder(dialog, IDC_SCRAP_MOVE_FOLDERS, target) &&
                 MoveArticleFile(DataFolder, CurrentScrapFolder, job->title, target) == 1;
    if (job->moved && lstrcmpiA(target, CurrentScrapFolder) != 0)
        ListScrapArticles(HeadlineList, job->position);
    return true;
}

const win::DialogSpec MoveSpec = {IDD_SCRAP_MOVE, nullptr, 0, OnMoveInit, OnMoveOk, nullptr};

// --- NewDirectoryDialog and MoveDirectoryDialog: the folders --------------------------------

void OnNewFolderInit(HWND dialog) {
    SendDlgItemMessageA(dialog, IDC_NEW_FOLDER_NAME, EM_LIMITTEXT, FolderNameLimit, 0);
}

bool OnNewFolderCommand(HWND dialog, int id, int code) {
    if (id != IDC_NEW_FOLDER_CREATE || code != BN_CLICKED) return false;
    char name[FolderNameLimit + 1];
    Text(dialog, IDC_NEW_FOLDER_NAME, name, sizeof name);
    if (CreateScrapFolder(DataFolder, name) == 1) {
        EndDialog(dialog, IDOK);
        return true;
    }
    RetryIn(dialog, IDC_NEW_FOLDER_NAME, "フォルダの作成に失敗しました");
    return true;
}

const win::DialogSpec NewFolderSpec = {
    IDD_NEW_FOLDER, nullptr, 0, OnNewFolderInit, nullptr, OnNewFolderCommand};

bool RunNewFolderDialog(HWND owner) { return win::RunModalDialog(owner, NewFolderSpec) == IDOK; }

void OnRenameInit(HWND dialog) {
    SendDlgItemMessageA(dialog, IDC_RENAME_FOLDER_NAME, EM_LIMITTEXT, FolderNameLimit, 0);
    SetDlgItemTextA(dialog, IDC_RENAME_FOLDER_NAME, SelectedFolder);
}

bool OnRenameCommand(HWND dialog, int id, int code) {
    if (id != IDC_RENAME_FOLDER_RENAME || code != BN_CLICKED) return false;
    char name[FolderNameLimit + 1];
    Text(dialog, IDC_RENAME_FOLDER_NAME, name, sizeof name);
    if (RenameScrapFolderTo(DataFolder, SelectedFolder, name) == 1) {
        EndDialog(dialog, IDOK);
        return true;
    }
    RetryIn(dialog, IDC_RENAME_FOLDER_NAME, "フォルダ名の変更に失敗しました");
    return true;
}

const win::DialogSpec RenameSpec = {IDD_RENAME_FOLDER, nullptr, 0, OnRenameInit, nullptr, OnRenameCommand};

// The folder selected in MenuList into SelectedFolder; false when none is, or when it is the
// default folder (refused with the box given).
bool SelectFolderToChange(const char* refusal, const char* caption) {
    if (!Focused(MenuList) || MenuListContent() != ListContent::ScrapFolders) return false;
    int p = static_cast<int>(SendMessageA(MenuList, LB_GETCURSEL, 0, 0));
    if (!FolderNameAt(MenuList, p, SelectedFolder, sizeof SelectedFolder)) return false;
    if (lstrcmpiA(SelectedFolder, DefaultScrapFolder) != 0) return true;
    MessageBoxA(MainWindow, refusal, caption, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

bool Ask(const char* question, const char* caption) {
    return MessageBoxA(MainWindow, question, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace

bool SaveToScrapbook() {
    if (GetWindowTextLengthA(BodyView) == 0 || ScrapbookMode != 0) return false;
    if (Focused(MenuList) || Focused(HeadlineList)) return false;
    LoadRichEdit20();
    if (win::RunModalDialog(MainWindow, SaveSpec) == IDOK) SpeakAndWait("保存しました", 0, 100);
    return true;
}

bool EditScrapArticle() {
    if (!ArticleListShown() || Focused(MenuList)) return false;
    ArticleJob job = {};
    if (!TakeSelectedArticle(&job)) return true;
    LoadRichEdit20();
    if (win::RunModalDialog(MainWindow, EditSpec, reinterpret_cast<LPARAM>(&job)) == IDOK)
        SpeakAndWait("変更を保存しました", 0, 100);
    return true;
}

bool MoveScrapArticle() {
    if (!ArticleListShown() || Focused(MenuList)) return false;
    ArticleJob job = {};
    if (!TakeSelectedArticle(&job)) return true;
    if (win::RunModalDialog(MainWindow, MoveSpec, reinterpret_cast<LPARAM>(&job)) != IDOK) return true;
    SpeakMessage(job.moved ? "移動しました" : "移動に失敗しました", 0);
    return true;
}

bool DeleteScrapArticle() {
    if (!Focused(HeadlineList) || !ArticleListShown()) return false;
    int p;
    const char* title;
    if (!SelectedScrapArticle(&p, &title)) return true;
    char question[ArticleNameCapacity + 64];
    std::snprintf(question, sizeof question, "%sをスクラップブックから削除しますか？", title);
    if (!Ask(question, "削除確認")) return true;
    if (DeleteArticleFile(DataFolder, CurrentScrapFolder, title) == 1)
        SpeakAndWait("削除しました", 0, 0);
    else
        SpeakMessage("削除に失敗しました", 0);
    ListScrapArticles(HeadlineList, p);
    return true;
}

bool NewScrapFolder() {
    if (RunNewFolderDialog(MainWindow) && MenuListContent() == ListContent::ScrapFolders)
        RefillScrapFolderList();
    return true;
}

bool RenameScrapFolder() {
    if (!SelectFolderToChange(
            "ScrapBookフォルダはタブロが使用するフォルダのため名前を変更することはできません", "変更エラー"))
        return true;
    if (win::RunModalDialog(MainWindow, RenameSpec) == IDOK) RefillScrapFolderList();
    return true;
}

bool DeleteScrapFolder() {
    if (!SelectFolderToChange("ScrapBookフォルダはタブロが既定で使用するフォルダです。\n"
                              "このフォルダを削除することはできません。",
                              "削除エラー"))
        return true;
    char question[ScrapNameCapacity * 2 + 160];
    std::snprintf(question,
                  sizeof question,
                  "%sフォルダを削除しても宜しいですか？\n%"
                  "sフォルダを削除すると、このフォルダに保存されている記事も全て削除されます。",
                  SelectedFolder,
                  SelectedFolder);
    if (!Ask(question, "フォルダの削除確認")) return true;
    bool deleted = RemoveScrapFolder(DataFolder, SelectedFolder) == 1;
    RefillScrapFolderList();
    if (deleted)
        SpeakAndWait("削除しました", 0, 0);
    else
        SpeakMessage("フォルダの削除に失敗しました", 0);
    return true;
}
