#include "app/lists/listcontent.h"

#include <cstdio>

#include "app/article/articleview.h"
#include "app/state/menustack.h"
#include "app/lists/screens.h"
#include "app/scrapbook/scrapbookview.h"
#include "app/state/shell.h"
#include "app/lists/myfeeds.h"
#include "library/optionvalues.h"
#include "library/settings.h"
#include "retrieval/headlines.h"
#include "speech/speak.h"

namespace {

void SayMenuPath() {
    char text[MenuTextCapacity * 3 + 8];
    DescribeMenuPosition(MenuStack, text, sizeof text);
    SpeakMessage(text, 0);
}

void SayCategory() {
    const char* name = CategoryParameters[0];
    SpeakMessage(name[0] ? name : "ニュースカテゴリーは選択されていません。", 100);
}

const char* HeadlineTitle(int i) {
    if (i < 0 || i >= HeadlinesPerLevel) return "";
    return HeadlineStore.titles[0][i];
}

// The logs keep the menu's behaviour until their features fill their rows. While HeadlineList
// shows a scrapbook folder its entries are the article names, from the scrapbook's own list of
// names (so they are not rebuilt from the headlines).
const ListContentKind Kinds[] = {
    {ListContent::Menu,          true,  ActivateMenuEntry,    DeleteLogEntry, nullptr, SayMenuPath,    nullptr      },
    {ListContent::History,       true,  ActivateMenuEntry,    DeleteLogEntry, nullptr, SayMenuPath,    nullptr      },
    {ListContent::Favorites,     true,  ActivateMenuEntry,    DeleteLogEntry, nullptr, SayMenuPath,    nullptr      },
    {ListContent::ScrapFolders,  true,  OpenScrapFolder,      nullptr,        nullptr, SayMenuPath,    nullptr      },
    {ListContent::MyFeeds,       true,  EnterMyFeed,          DeleteSelectedFeed, nullptr, SayMenuPath, nullptr  },
    {ListContent::Headlines,     false, OpenSelectedHeadline, nullptr,        nullptr, SayCategory,    HeadlineTitle},
    {ListContent::ScrapArticles, false, OpenScrapArticle,     nullptr,        nullptr, SayScrapFolder, nullptr      },
};

const ListContentKind& KindOf(ListContent content) {
    for (const ListContentKind& kind : Kinds)
        if (kind.content == content) return kind;
    return Kinds[0];
}

const ListContentKind& KindIn(HWND list) {
    return KindOf(list == MenuList ? MenuListContent() : HeadlineListContent());
}

}  // namespace

void ListStoredHeadlines(bool radio) {
    if (!HeadlineList) return;
    int count = HeadlineStore.counts[0];
    if (count < 0) count = 0;
    if (count > HeadlinesPerLevel) count = HeadlinesPerLevel;
    SendMessageA(HeadlineList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(HeadlineList, LB_RESETCONTENT, 0, 0);
    char entry[ListEntryCapacity];
    for (int i = 0; i < count; ++i) {
        const char* text = HeadlineTitle(i);
        if (!radio) {
            FormatListEntry(entry, sizeof entry, i + 1, text, Settings.NumberEntries == 1 ? 1 : 0);
            text = entry;
        }
        SendMessageA(HeadlineList, LB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    }
    SendMessageA(HeadlineList, LB_SETCURSEL, 0, 0);
    SendMessageA(HeadlineList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(HeadlineList, nullptr, TRUE);
}

void ShowReceivedHeadlines() {
    const bool leavingScrapbook = HeadlineListContent() == ListContent::ScrapArticles;
    ShowListContent(ListContent::Headlines);
    // Back from a scrapbook folder the article names give way to the headlines of the category
    // received last, so that an entry opens the headline it reads as.
    if (leavingScrapbook) ListStoredHeadlines(CategoryPlaysRadio());
}

void EnterInList(HWND list) { KindIn(list).enter(); }

bool DeleteInList(HWND list) {
    const ListContentKind& kind = KindIn(list);
    if (!kind.remove) return false;
    kind.remove();
    return true;
}

void AnnouncePositionInList(HWND list) {
    const ListContentKind& kind = KindIn(list);
    if (kind.position) {
        kind.position(list);
        return;
    }
    int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    if (count < 1) return;
    int selection = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
    char text[64];
    std::snprintf(text, sizeof text, "%d項目中%d項目目", count, selection + 1);
    SpeakMessage(text, 100);
}

void AnnounceWhereAmIInList(HWND list) { KindIn(list).whereAmI(); }

void RebuildHeadlineList() {
    if (!HeadlineList) return;
    int count = static_cast<int>(SendMessageA(HeadlineList, LB_GETCOUNT, 0, 0));
    if (count <= 0) return;
    const char* (*title)(int) = KindIn(HeadlineList).entryTitle;
    if (!title) return;  // nothing to rebuild the entries from
    LRESULT selection = SendMessageA(HeadlineList, LB_GETCURSEL, 0, 0);
    SendMessageA(HeadlineList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(HeadlineList, LB_RESETCONTENT, 0, 0);
    char entry[ListEntryCapacity];
    for (int i = 0; i < count; ++i) {
        FormatListEntry(entry, sizeof entry, i + 1, title(i), Settings.NumberEntries);
        SendMessageA(HeadlineList, LB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
    }
    SendMessageA(HeadlineList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(HeadlineList, nullptr, TRUE);
    SendMessageA(HeadlineList, LB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}
