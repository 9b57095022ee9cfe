#include "app/article/relatedlinks.h"

#include <cstring>
#include <memory>

#include "app/article/articleview.h"
#include "app/article/browser.h"
#include "app/state/entrypoints.h"
#include "app/article/readingcommands.h"
#include "app/state/shell.h"
#include "resources/resource.h"
#include "retrieval/article.h"
#include "retrieval/article_rules.h"
#include "retrieval/headlines.h"
#include "retrieval/sjis.h"
#include "retrieval/sources.h"
#include "speech/reading.h"
#include "speech/speak.h"
#include "win/dialog.h"

namespace {

enum class LinkMode { AsNews = 0, FullText = 1, Browser = 2 };

struct LinkChoice {
    int level;
    int index;
    LinkMode mode;
};

void OnLinkListInit(HWND dialog) {
    const LinkChoice& choice = *reinterpret_cast<LinkChoice*>(win::DialogParameter(dialog));
    HWND list = GetDlgItem(dialog, IDC_LINK_LIST);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    int count = HeadlineStore.counts[choice.level];
    for (int i = 0; i < count; ++i)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(HeadlineStore.titles[choice.level][i]));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    if (count == 0)
        for (int id : {IDC_LINK_AS_NEWS, IDC_LINK_FULL_TEXT, IDC_LINK_BROWSER})
            EnableWindow(GetDlgItem(dialog, id), FALSE);
}

bool OnLinkListCommand(HWND dialog, int id, int) {
    LinkMode mode;
    switch (id) {
        case IDC_LINK_AS_NEWS:
            mode = LinkMode::AsNews;
            break;
        case IDC_LINK_FULL_TEXT:
            mode = LinkMode::FullText;
            break;
        case IDC_LINK_BROWSER:
            mode = LinkMode::Browser;
            break;
        default:
            return false;
    }
    LinkChoice& choice = *reinterpret_cast<LinkChoice*>(win::DialogParameter(dialog));
    int selection = static_cast<int>(SendDlgItemMessageA(dialog, IDC_LINK_LIST, LB_GETCURSEL, 0, 0));
    choice.index = selection < 0 ? 0 : selection;
    choice.mode = mode;
    EndDialog(dialog, IDOK);
    return true;
}

const win::DialogSpec LinkListDialog = {
    IDD_LINK_LIST, nullptr, 0, OnLinkListInit, nullptr, OnLinkListCommand};

// The base a relative link joins: the category's Parameter2, whole; from the link-list
// command an RSS category's links join the portal's host instead.
const char* LinkBase(bool fromCommand) {
    if (fromCommand && std::strcmp(CategoryParameters[1], "rss") == 0)
        return SourceAddress(SourceYahooNewsHost);
    return CategoryParameters[1];
}

void KeepRelatedPage(int level, const ArticleResult& result) {
    SjisCopyCut(
        HeadlineStore.pageAddresses[level], AddressCapacity, result.address, std::strlen(result.address));
    int next = level + 1;
    for (int i = 0; i < result.linkCount; ++i) {
        SjisCopyCut(HeadlineStore.titles[next][i],
                    TitleCapacity,
                    result.linkTitles[i],
                    std::strlen(result.linkTitles[i]));
        SjisCopyCut(HeadlineStore.addresses[next][i],
                    AddressCapacity,
                    result.linkAddresses[i],
                    std::strlen(result.linkAddresses[i]));
    }
    HeadlineStore.counts[next] = result.linkCount;
}

}  // namespace

int ShowRelatedPage(const char* address, bool useMarkers) {
    const int level = PageDepth;
    if (level < 1) return 0;
    if (level >= PageStoreCount) {
        SpeakMessage("これより深い関連ページは開けません", 100);
        return 0;
    }
    auto result = std::make_unique<ArticleResult>();
    const bool collectLinks = level + 1 < HeadlineLevels;
    if (!ReceiveRelatedPage(address, CategoryParameters, useMarkers, collectLinks, *result)) {
        MessageBoxA(MainWindow, "関連リンクの受信ができませんでした。", "受信エラー", MB_OK | MB_ICONWARNING);
        return 0;
    }
    KeepRelatedPage(level, *result);
    SetWindowTextA(BodyView, "");
    ShowPageText(level + 1, result->text.c_str());
    return 1;
}

int OpenRelatedLink(bool fromCommand) {
    const int level = PageDepth;
    if (level < 1 || level >= HeadlineLevels || HeadlineStore.counts[level] <= 0) {
        if (fromCommand) SpeakMessage("関連リンクはありません", 100);
        return 0;
    }
    LinkChoice choice{level, 0, LinkMode::AsNews};
    if (win::RunModalDialog(MainWindow, LinkListDialog, reinterpret_cast<LPARAM>(&choice)) != IDOK) return 0;
    if (choice.index >= HeadlineStore.counts[level]) return 0;
    if (choice.mode != LinkMode::Browser && level >= PageStoreCount) {
        SpeakMessage("これより深い関連ページは開けません", 100);
        return 0;
    }
    char* pageAddress = HeadlineStore.pageAddresses[level];
    if (!CompleteRelatedAddress(
            HeadlineStore.addresses[level][choice.index], LinkBase(fromCommand), pageAddress, AddressCapacity)) {
        // A cut address names another page: it is neither fetched nor opened.
        pageAddress[0] = '\0';
        if (choice.mode == LinkMode::Browser)
            SpeakMessage("このアドレスはブラウザで開けません", 100);
        else
            MessageBoxA(MainWindow, "関連リンクの受信ができませんでした。", "受信エラー", MB_OK | MB_ICONWARNING);
        return 0;
    }
    MakeArticlePageTitle(
        HeadlineStore.titles[level][choice.index], HeadlineStore.pageTitles[level], TitleCapacity);
    if (choice.mode == LinkMode::Browser) {
        if (!IsWebAddress(pageAddress)) SpeakMessage("このアドレスはブラウザで開けません", 100);
        else OpenInBrowser(pageAddress);
        return 0;
    }
    return ShowRelatedPage(pageAddress, choice.mode == LinkMode::AsNews);
}

int ReloadRelatedPage() {
    const int depth = PageDepth;
    if (depth < 2 || depth > HeadlineLevels) return 0;
    char address[AddressCapacity];
    std::memcpy(address, HeadlineStore.pageAddresses[depth - 1], sizeof address);
    if (!ShowRelatedPage(address, true)) return 0;
    std::memcpy(HeadlineStore.pageTitles[depth], HeadlineStore.pageTitles[depth - 1], TitleCapacity);
    return 1;
}

bool OpenRelatedLinkList() {
    if (OpenRelatedLink(true) == 1 && ReadingActive == 0) ReadBodyView();
    return true;
}
