#include "app/scrapbook/scrapbookview.h"

#include <cstdio>
#include <cstring>

#include "app/state/entrypoints.h"
#include "app/state/listshown.h"
#include "app/article/readingcommands.h"
#include "app/state/shell.h"
#include "library/scrapbook.h"
#include "library/settings.h"
#include "speech/reading.h"
#include "speech/speak.h"

namespace {

int FolderCount = 0;   // names in FolderNames from the last listing
int ArticleCount = 0;  // names in ArticleNames[1] from the last listing

int Selection(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)); }

// The folder names into MenuList and into the current menu level (entry code 607 each), the
// first one selected.
void FillFolderList() {
    FolderCount = ListScrapFolders(DataFolder);
    int level = MenuStack.MenuLevel;
    SendMessageA(MenuList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(MenuList, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < FolderCount; ++i)
        SendMessageA(MenuList, LB_INSERTSTRING, i, reinterpret_cast<LPARAM>(FolderNames[i]));
    if (level >= 0 && level < MenuLevelCount) {
        for (int k = 0; k < MenuEntryCount; ++k) {
            std::snprintf(
                MenuStack.ListText[level][k], MenuTextCapacity, "%s", k < FolderCount ? FolderNames[k] : "");
            MenuStack.MenuName[level][k][0] = '\0';
            MenuStack.Number[level][k] = EntryScrapFolder;
        }
    }
    SendMessageA(MenuList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(MenuList, nullptr, TRUE);
    SendMessageA(MenuList, LB_SETCURSEL, 0, 0);
    ShowListContent(ListContent::ScrapFolders);
}

// The folder list as the level above the one shown.
void EnterFolderLevel() {
    if (MenuStack.MenuLevel + 1 >= MenuLevelCount) return;
    ++MenuStack.MenuLevel;
    MenuStack.MenuSelection[MenuStack.MenuLevel] = 0;
    FillFolderList();
}

// The articles of CurrentScrapFolder in HeadlineList, the first one selected.
void ShowFolderArticles() {
    ShowListContent(ListContent::ScrapArticles);
    ListScrapArticles(HeadlineList, 0);
}

}  // namespace

void ListScrapArticles(HWND list, int selection) {
    char folder[TextPathCapacity];
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    ArticleCount = 0;
    if (ScrapFolderPath(folder, sizeof folder, DataFolder, CurrentScrapFolder)) {
        ArticleCount = Settings.NumberEntries == 1 ? ListTextFilesNumbered(list, folder)
                                                   : ListTextFiles(list, 1, folder);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    if (selection >= ArticleCount) selection = ArticleCount - 1;
    SendMessageA(list, LB_SETCURSEL, selection, 0);
}

void RefillScrapFolderList() { FillFolderList(); }

void ShowScrapFolders() { EnterFolderLevel(); }

void OpenScrapFolder() {
    int p = Selection(MenuList);
    if (p < 0 || p >= FolderCount) return;
    MenuStack.MenuSelection[MenuStack.MenuLevel] = p;
    std::snprintf(CurrentScrapFolder, sizeof CurrentScrapFolder, "%s", FolderNames[p]);
    SpeakMessage("スクラップブック", 0);
    ShowFolderArticles();
    ShowView(HeadlineList, MenuList);
}

bool SelectedScrapArticle(int* position, const char** title) {
    int p = Selection(HeadlineList);
    if (p < 0 || p >= ArticleCount) return false;
    *position = p;
    *title = ArticleNames[1][p];
    return true;
}

namespace {

// The selected article's text into BodyView (emptied first); false when nothing is selected.
bool ReadSelectedIntoBody() {
    SetWindowTextA(BodyView, "");
    int p;
    const char* title;
    if (!SelectedScrapArticle(&p, &title)) return false;
    char path[TextPathCapacity];
    if (ScrapArticlePath(path, sizeof path, DataFolder, CurrentScrapFolder, title))
        ReadTextFile(BodyView, path);
    return true;
}

}  // namespace

void OpenScrapArticle() {
    if (!ReadSelectedIntoBody() || ReadingActive != 0) return;
    if (Settings.ReadOnReceive == 1) {
        ReadBodyView();
        return;
    }
    ShowView(BodyView, HeadlineList);
}

void LoadSelectedScrapArticle() {
    if (!ReadSelectedIntoBody()) return;
    SpeakMessage(ArticleNames[1][Selection(HeadlineList)], 0);
}

bool GoToDefaultScrapbook() {
    if (ScrapbookMode == 1) return true;  // already browsing the scrapbook: nothing to do
    SpeakMessage("既定のスクラップブックに移動します", 0);
    MenuStack.MenuLevel = 0;
    MenuStack.MenuSelection[0] = TopScrapFolders;
    std::snprintf(CurrentScrapFolder, sizeof CurrentScrapFolder, "%s", DefaultScrapFolder);
    EnterFolderLevel();
    ShowFolderArticles();
    SetWindowTextA(BodyView, "");
    ShowView(HeadlineList, MenuList, BodyView);
    int position = FindScrapFolder(DefaultScrapFolder, FolderCount);
    if (position >= 0) {
        SendMessageA(MenuList, LB_SETCURSEL, position, 0);
        MenuStack.MenuSelection[MenuStack.MenuLevel] = position;
    }
    return true;
}

bool GoToScrapFolderList() {
    SpeakMessage("スクラップブックのフォルダ一覧に移動します", 0);
    MenuStack.MenuLevel = 0;
    MenuStack.MenuSelection[0] = TopScrapFolders;
    EnterFolderLevel();
    ShowView(MenuList, HeadlineList, BodyView);
    return true;
}

void SayScrapFolder() {
    char text[ScrapNameCapacity + 64];
    std::snprintf(text, sizeof text, "スクラップブックを閲覧中 %sフォルダ", CurrentScrapFolder);
    SpeakMessage(text, 100);
}

void SayScrapArticle() {
    int p;
    const char* title;
    if (SelectedScrapArticle(&p, &title)) SpeakMessage(title, 100);
}
