#include "app/lists/screens.h"

#include <cstdio>
#include <richedit.h>

#include "app/article/articleview.h"
#include "app/lists/listcontent.h"
#include "app/lists/logscreens.h"
#include "app/lists/menufile.h"
#include "app/article/readingcommands.h"
#include "app/lists/receptionview.h"
#include "app/article/relatedlinks.h"
#include "app/scrapbook/scrapbookview.h"
#include "app/state/shell.h"
#include "app/tasks/shortcuts.h"
#include "app/lists/myfeeds.h"
#include "library/receptionlog.h"
#include "library/settings.h"
#include "retrieval/headlines.h"
#include "speech/reading.h"
#include "speech/speak.h"
#include "win/handles.h"
#include "win/plaintext.h"

namespace {

void (*MenuFileActions)(int code) = nullptr;

int CurrentSelection(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)); }
int EntryCount(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)); }

bool BodyHasText() { return GetWindowTextLengthA(BodyView) > 0; }

void ShowMenuListOnly() { ShowView(MenuList, HeadlineList, BodyView); }

// Back at the top menu: the menu list shows the menu again, the headline list headlines.
void ShowTopMenuContent() {
    ShowListContent(ListContent::Menu);
    ShowReceivedHeadlines();
}

// Fills MenuList with the level's texts and selects the remembered entry.
void RedrawLevel(int level) {
    SendMessageA(MenuList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(MenuList, LB_RESETCONTENT, 0, 0);
    for (int k = 0; k < MenuEntryCount && MenuStack.ListText[level][k][0]; ++k)
        SendMessageA(MenuList, LB_INSERTSTRING, k, reinterpret_cast<LPARAM>(MenuStack.ListText[level][k]));
    SendMessageA(MenuList, WM_SETREDRAW, TRUE, 0);
    SendMessageA(MenuList, LB_SETCURSEL, MenuStack.MenuSelection[level], 0);
    // A level above the one left is a menu level: logs and folder lists are always the last.
    ShowListContent(ListContent::Menu);
}

}  // namespace

void SetMenuFileActions(void (*dispatch)(int code)) { MenuFileActions = dispatch; }

void ReceiveCategoryEntry(int level, int p) {
    // A hand-edited or planted log must not steer the reception with a file outside News.
    if (!IsCategoryMenuName(MenuStack.MenuName[level][p])) {
        SpeakMessage("記事リストの受信ができませんでした", 0);
        return;
    }
    StartCategoryReception(level, p);
    char name[64];
    ReadCategoryName(MenuStack.MenuName[level][p], MenuStack.Number[level][p], name, sizeof name);
    AddLogEntry(History, MenuStack.MenuName[level][p], name, MenuStack.Number[level][p]);
    ShowView(HeadlineList, MenuList);
}

void ActivateMenuEntry() {
    int p = CurrentSelection(MenuList);
    if (p < 0) return;
    int level = MenuStack.MenuLevel;
    MenuStack.MenuSelection[level] = p;
    int n = MenuStack.Number[level][p];
    if (n == EntryWebPage) {
        OpenRadioEntry(level, p);
        return;
    }
    if (n == EntryHistory || n == EntryFavorites) {
        if (n == EntryHistory) ShowHistoryLevel();
        else ShowFavoritesLevel();
        return;
    }
    if (n == EntryMyFeeds) {
        ShowMyFeedsLevel();
        return;
    }
    if (n == EntryScrapbook) {
        ShowScrapFolders();
        return;
    }
    if (n == EntryScrapFolder) {
        OpenScrapFolder();
        return;
    }
    if (MenuStack.Number[level][0] == EntryPrefectureDialog && MenuStack.MenuSelection[1] > 0) {
        // The local-news menu: sources 1 to 3 follow the chosen prefecture.
        for (int source = 1; source <= 3 && source < MenuEntryCount; ++source)
            MenuStack.Number[1][source] = LocalCategoryNumber(source, MenuStack.Number[1][source]);
        ReceiveCategoryEntry(level, p);
        return;
    }
    if (n > 500) {
        if (MenuFileActions) MenuFileActions(n);
        return;
    }
    if (n >= 1) {
        ReceiveCategoryEntry(level, p);
        return;
    }
    if (level + 1 >= MenuLevelCount) return;  // no sixth level: stay on the fifth
    LoadMenuLevel(MenuList, MenuStack.MenuName[level][p]);
}

// Enter on a headline: the article is received and then either read aloud at once, the
// focus staying on the list, or shown in the body view.
void OpenSelectedHeadline() {
    SetWindowTextA(BodyView, "");
    if (OpenSelectedArticle() != 1 || ReadingActive != 0) return;
    // The player has closed: the list keeps the focus, and there is no text to read or show.
    if (CategoryPlaysRadio()) return;
    if (Settings.ReadOnReceive == 1) {
        // Read aloud at once; the focus stays on the list and the body view stays hidden.
        ReadBodyView();
        return;
    }
    ShowView(BodyView, HeadlineList);
}

namespace {

void CopyPageStoreToBody(int depth) {
    int length = GetWindowTextLengthA(PageStoreSlot(depth));
    win::HeapBuffer text(static_cast<size_t>(length) * 2 + 2);
    if (!text.get()) return;
    GetWindowTextA(PageStoreSlot(depth), text.get(), length * 2 + 1);
    SetWindowTextA(BodyView, "");
    win::SetRichEditPlainText(BodyView, text.get());
}

bool ReloadTopMenu() {
    int s = MenuStack.MenuSelection[0];
    SpeakMessage("トップメニューに戻る", 100);
    MenuStack.MenuLevel = -1;
    LoadMenuLevel(MenuList, "Menu1");
    SendMessageA(MenuList, LB_SETCURSEL, s, 0);
    return true;
}

}  // namespace

int ActivateEntry(int source) {
    switch (source) {
        case FromMenuList:
            EnterInList(MenuList);
            break;
        case FromHeadlineList:
            EnterInList(HeadlineList);
            break;
        case FromBodyView:
            if (ReadingActive == 0) ReadBodyView();
            break;
    }
    return 1;
}

void GoBackInMenu() {
    if (MenuStack.MenuLevel <= 0) return;
    if (MenuListContent() == ListContent::MyFeeds) ShowListContent(ListContent::Menu);
    --MenuStack.MenuLevel;
    RedrawLevel(MenuStack.MenuLevel);
    if (MenuStack.MenuLevel == 0) ShowTopMenuContent();
}

void GoBackInBody() {
    int depth = PageDepth;
    if (depth <= 1) {
        ShowView(HeadlineList, BodyView);
        return;
    }
    SpeakMessage(depth == 2 ? "ニュース本文に戻る" : "前の関連ページに戻る", 1000);
    CopyPageStoreToBody(depth - 1);
    PageDepth = depth - 1;
}

bool MoveToLocalNews() {
    if (MenuStack.MenuLevel == 1 && MenuStack.MenuSelection[0] == TopLocalNews) return true;
    SpeakMessage("お住まいの地域のニュースに移動します", 0);
    ShowTopMenuContent();
    MenuStack.MenuLevel = 0;
    LoadMenuLevel(MenuList, "Menu97");
    MenuStack.MenuSelection[0] = TopLocalNews;
    ShowMenuListOnly();
    return true;
}

bool ShowMenuListView() {
    ShowMenuListOnly();
    return true;
}

bool BackToTopOrArticle() {
    HWND focus = FocusedView();
    if (focus == MenuList) {
        if (MenuStack.MenuLevel == 0) return false;
        return ReloadTopMenu();
    }
    if (focus == HeadlineList) {
        ReloadTopMenu();
        ShowMenuListOnly();
        return true;
    }
    if (focus == BodyView) {
        if (BodyShowsScrapbookText() || PageDepth <= 1) return false;
        SpeakMessage("ニュース本文に戻る", 1000);
        CopyPageStoreToBody(1);
        PageDepth = 1;
        return true;
    }
    return false;
}

bool BackOneStep() {
    if (FocusedView() == HeadlineList) {
        ShowView(MenuList, HeadlineList);
        return true;
    }
    if (PageDepth <= 1) {
        ShowView(HeadlineList, BodyView);
        return true;
    }
    if (BodyShowsScrapbookText()) return false;
    GoBackInBody();
    return true;
}

bool NextView() {
    if (LastFocus == HeadlineList)
        ShowView(BodyView, HeadlineList);
    else if (LastFocus == BodyView)
        ShowView(MenuList, BodyView);
    else
        ShowView(HeadlineList, MenuList);
    return true;
}

bool PreviousView() {
    if (LastFocus == BodyView)
        ShowView(HeadlineList, BodyView);
    else if (LastFocus == HeadlineList)
        ShowView(MenuList, HeadlineList);
    else
        ShowView(BodyView, MenuList);
    return true;
}

bool ViewBack() {
    HWND focus = FocusedView();
    if (focus == BodyView)
        ShowView(HeadlineList, BodyView);
    else if (focus == HeadlineList)
        ShowView(MenuList, HeadlineList);
    else
        return false;
    return true;
}

bool ViewForward() {
    HWND focus = FocusedView();
    if (focus == MenuList) {
        ShowView(HeadlineList, MenuList);
    } else if (focus == HeadlineList) {
        ShowView(BodyView, HeadlineList);
    } else if (focus == BodyView) {
        LastFocus = BodyView;
        if (BodyHasText() && !BodyShowsScrapbookText() && OpenRelatedLink(false) == 1 && ReadingActive == 0)
            ReadBodyView();
    } else {
        return false;
    }
    return true;
}

namespace {

bool StepHeadline(int step) {
    if (FocusedView() != BodyView) return false;
    int s = CurrentSelection(HeadlineList);
    int c = EntryCount(HeadlineList);
    if (step < 0 && s <= 0) {
        SpeakMessage("前のニュースはありません。", 0);
        return true;
    }
    if (step > 0 && s >= c - 1) {
        SpeakMessage("次のニュースはありません。", 0);
        return true;
    }
    SpeakMessage(step < 0 ? "前のニュースを受信" : "次のニュースを受信", 0);
    const int next = s + step;
    SendMessageA(HeadlineList, LB_SETCURSEL, next, 0);
    if (BodyShowsScrapbookText()) {
        LoadSelectedScrapArticle();
    } else {
        // The page shown stays until the next one has arrived: a failed receive leaves it.
        if (OpenSelectedArticle() != 1) return true;
        if (CategoryPlaysRadio()) return true;  // the player has come and gone: nothing to read
        if (next >= 0 && next < HeadlinesPerLevel) SpeakMessage(HeadlineStore.titles[0][next], 0);
    }
    // Read at once whatever the reading-on-reception setting; the focus stays in the body.
    if (ReadingActive == 0) ReadBodyView();
    return true;
}

}  // namespace

bool PreviousHeadline() { return StepHeadline(-1); }
bool NextHeadline() { return StepHeadline(1); }

bool AnnounceListPosition() {
    HWND focus = FocusedView();
    if (focus != MenuList && focus != HeadlineList) return false;
    AnnouncePositionInList(focus);
    return true;
}

bool AnnounceWhereAmI() {
    HWND focus = FocusedView();
    if (focus == MenuList || focus == HeadlineList) {
        AnnounceWhereAmIInList(focus);
    } else if (focus == BodyView) {
        if (!BodyHasText()) return true;
        if (BodyShowsScrapbookText()) {
            SayScrapArticle();
            return true;
        }
        int depth = PageDepth;
        if (depth >= 1 && depth <= HeadlineLevels) SpeakMessage(HeadlineStore.pageTitles[depth - 1], 100);
    }
    return true;
}

bool AnnounceDepth() {
    if (FocusedView() != BodyView) return true;
    int depth = PageDepth;
    if (depth > 1) {
        char text[64];
        std::snprintf(text, sizeof text, "関連ページ%d階層目です。", depth - 1);
        SpeakMessage(text, 100);
    } else if (depth == 1) {
        SpeakMessage("ニュース本文です。", 100);
    }
    return true;
}
