#include "app/article/articleview.h"

#include <cstring>
#include <memory>

#include "app/article/browser.h"
#include "app/state/shell.h"
#include "library/settings.h"
#include "recording/playerdialog.h"
#include "retrieval/article.h"
#include "retrieval/headline_rules.h"
#include "retrieval/headlines.h"
#include "retrieval/sjis.h"
#include "speech/speak.h"
#include "win/plaintext.h"

namespace {

// The selected line of the headline list, or -1.
int SelectedHeadline() {
    LRESULT selection = SendMessageA(HeadlineList, LB_GETCURSEL, 0, 0);
    if (selection < 0 || selection >= HeadlinesPerLevel) return -1;
    return static_cast<int>(selection);
}

void OfferBrowser(const char* address) {
    int answer = MessageBoxA(MainWindow,
                             "記事本文を取得できませんでした\nこの記事をブラウザで表示してもよろしいですか",
                             "受信エラー",
                             MB_YESNO | MB_ICONQUESTION);
    if (answer == IDYES) OpenInBrowser(address);
}

void CopyText(char* out, size_t capacity, const char* text) {
    SjisCopyCut(out, capacity, text, std::strlen(text));
}

// Keeps the page address, the title and the links of the article (level 0 of the chain: the
// article's links are level 1).
void KeepArticleData(const ArticleResult& result) {
    if (result.addressKnown) CopyText(HeadlineStore.pageAddresses[0], AddressCapacity, result.address);
    if (result.failure != ArticleFailure::None) return;
    for (int i = 0; i < result.linkCount; ++i) {
        CopyText(HeadlineStore.titles[1][i], TitleCapacity, result.linkTitles[i]);
        CopyText(HeadlineStore.addresses[1][i], AddressCapacity, result.linkAddresses[i]);
    }
    HeadlineStore.counts[1] = result.linkCount;
    if (result.titled) CopyText(HeadlineStore.pageTitles[0], TitleCapacity, result.title);
}

using Receiver = bool (*)(const ArticleRequest&, ArticleResult&);

bool ReceiveForRecording(const ArticleRequest& request, ArticleResult& result) {
    return ReceiveArticleForRecording(request, Settings.RecordTitleFirst != 0, result);
}

// playsRadio: a radio entry opens the player (the recording path has nothing to play).
int OpenSelected(Receiver receive, bool playsRadio) {
    HeadlineStore.counts[1] = 0;
    int selection = SelectedHeadline();
    if (selection < 0) return 0;
    auto result = std::make_unique<ArticleResult>();
    const ArticleRequest request{
        HeadlineStore.titles[0][selection],
        HeadlineStore.addresses[0][selection],
        &CategoryParameters,
        Settings.MainTextFallback == 1};
    receive(request, *result);
    KeepArticleData(*result);
    switch (result->failure) {
        case ArticleFailure::None:
            ShowPageText(1, result->text.c_str());
            return 1;
        case ArticleFailure::Radio:
            if (!playsRadio) return 0;
            ShowPlayDialog(MainWindow,
                           HeadlineStore.addresses[0][selection],
                           HeadlineStore.titles[0][selection],
                           DataFolder);
            return 1;
        case ArticleFailure::NotReceived:
            SpeakMessage("本文の受信ができませんでした", 100);
            return 0;
        case ArticleFailure::NoBody:
            OfferBrowser(result->address);
            return 0;
    }
    return 0;
}

}  // namespace

void ShowPageText(int depth, const char* text) {
    win::SetRichEditPlainText(BodyView, text);
    SetWindowTextA(PageStoreSlot(depth), text);
    PageDepth = depth;
}

int OpenSelectedArticle() { return OpenSelected(ReceiveArticle, true); }

bool CategoryPlaysRadio() { return std::strcmp(CategoryParameter(CategoryParameters, 2), "radio") == 0; }

int OpenSelectedArticleForRecording() { return OpenSelected(ReceiveForRecording, false); }
