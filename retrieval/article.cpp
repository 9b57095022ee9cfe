// Opening articles (Win32 side): the selected headline, the download and its code page, the
// browser question, the continuation pages and the body view. The cutting and cleaning are
// in article_rules and forecast.
#include "retrieval/article.h"

#include <cstring>

#include "app/browser.h"
#include "app/shell.h"
#include "library/settings.h"
#include "retrieval/article_rules.h"
#include "retrieval/fetch.h"
#include "retrieval/forecast.h"
#include "retrieval/headlines.h"
#include "retrieval/pagecode.h"
#include "retrieval/sjis.h"
#include "retrieval/sources.h"
#include "retrieval/textcut.h"
#include "speech/speak.h"

namespace {

constexpr DWORD ContinuationPause = 50;

// The joined text of a paged article; ReceiveArticlePage appends to it.
char JoinedText[ArticleTextCapacity];

// A buffer from the process heap, released on every path.
class HeapText {
  public:
    explicit HeapText(size_t capacity)
        : capacity_(capacity), data_(static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, capacity))) {
        if (data_) data_[0] = '\0';
    }
    ~HeapText() {
        if (data_) HeapFree(GetProcessHeap(), 0, data_);
    }
    HeapText(const HeapText&) = delete;
    HeapText& operator=(const HeapText&) = delete;
    char* get() const { return data_; }
    size_t capacity() const { return capacity_; }

  private:
    size_t capacity_;
    char* data_;
};

const char* Parameter(int n) { return CategoryParameters[n - 1]; }

ArticleMarkers CategoryMarkers() {
    ArticleMarkers markers;
    markers.bodyStart = Parameter(8);
    markers.bodyEnd = Parameter(9);
    markers.spanStart = Parameter(10);
    markers.spanEnd = Parameter(11);
    return markers;
}

// Pages are UTF-8 unless the category says "2" (already Shift-JIS); either way their
// character references are decoded.
void ConvertPageFromUtf8(HeapText& page) {
    ConvertReceivedPage(page.get(), page.capacity(), std::strcmp(Parameter(12), "2") != 0);
}

// The selected line of the headline list, or -1.
int SelectedHeadline() {
    LRESULT selection = SendMessageA(HeadlineList, LB_GETCURSEL, 0, 0);
    if (selection < 0 || selection >= HeadlinesPerLevel) return -1;
    return static_cast<int>(selection);
}

// Completes the selected headline's address, keeps it as the page address of level 0 and
// downloads it. Speaks the failure.
bool FetchSelectedArticle(int selection, HeapText& page, char* address) {
    CompleteArticleAddress(HeadlineStore.addresses[0][selection], Parameter(2), address, AddressCapacity);
    SjisCopyCut(HeadlineStore.pageAddresses[0], AddressCapacity, address, std::strlen(address));
    if (!page.get() || !FetchPage(address, page.get(), page.capacity())) {
        SpeakMessage("本文の受信ができませんでした", 100);
        return false;
    }
    ConvertPageFromUtf8(page);
    return true;
}

void ShowArticleText(const char* text) {
    SetWindowTextA(BodyView, text);
    SetWindowTextA(PageStoreSlot(1), text);
    PageDepth = 1;
}

void OfferBrowser(HWND mainWindow, const char* address) {
    int answer = MessageBoxA(mainWindow,
                             "記事本文を取得できませんでした\nこの記事をブラウザで表示してもよろしいですか",
                             "受信エラー",
                             MB_YESNO | MB_ICONQUESTION);
    if (answer == IDYES) OpenInBrowser(address);
}

// Joins continuation pages 2 to 10 to the text when the last link of the article leads to
// page 2. Returns the text to show.
const char* JoinPagedArticle(const ArticleSource& source, char* text) {
    int links = HeadlineStore.counts[1];
    char base[AddressCapacity];
    if (links >= 1 &&
        PagedArticleBase(
            HeadlineStore.addresses[1][links - 1], SourceAddress(SourceYahooNewsHost), base, sizeof base)) {
        SjisCopyCut(JoinedText, sizeof JoinedText, text, std::strlen(text));
        for (int k = 2; k <= LastContinuationPage; ++k) {
            if (!ReceiveArticlePage(base, k)) break;
            Sleep(ContinuationPause);
        }
        return JoinedText;
    }
    if (source.yahooPaged) CutBetween(text, MarkerNone, "【関連記事】");
    return text;
}

}  // namespace

int ReceiveArticle(HWND mainWindow) {
    HeadlineStore.counts[1] = 0;
    int selection = SelectedHeadline();
    if (selection < 0) return 0;
    if (std::strcmp(Parameter(2), "radio") == 0) {
        // The audio player opens here for radio entries once it exists.
        return 0;
    }

    HeapText page(ArticlePageCapacity);
    char address[AddressCapacity];
    if (!FetchSelectedArticle(selection, page, address)) return 0;

    const ArticleSource source = ClassifyArticleSource(Parameter(2));
    if (source.weather) {
        FormatForecast(page.get(), page.capacity());  // without its tables the page shows as cut
        ShowArticleText(page.get());
        return 1;
    }

    const bool offersLinks = !IsAsahiRssFeed(Parameter(3), SourceAddress(SourceAsahiRssHost));
    int links = 0;
    if (!ExtractArticle(page.get(),
                        page.capacity(),
                        source,
                        CategoryMarkers(),
                        HeadlineStore.titles[1],
                        HeadlineStore.addresses[1],
                        &links,
                        offersLinks) &&
        !(Settings.MainTextFallback == 1 &&
          ExtractMainTextArticle(page.get(), page.capacity(), source, CategoryMarkers()))) {
        OfferBrowser(mainWindow, address);
        return 0;
    }
    HeadlineStore.counts[1] = links;
    MakeArticlePageTitle(HeadlineStore.titles[0][selection], HeadlineStore.pageTitles[0], TitleCapacity);

    const char* text = page.get();
    if (source.rss || source.yahooPaged) text = JoinPagedArticle(source, page.get());
    ShowArticleText(text);
    return 1;
}

int ReceiveArticlePage(const char* address, int pageNumber) {
    char pageAddress[AddressCapacity];
    SjisCopyCut(pageAddress, sizeof pageAddress, address, std::strlen(address));
    const char* suffix = ContinuationSuffix(pageNumber);
    size_t used = std::strlen(pageAddress);
    SjisCopyCut(pageAddress + used, sizeof pageAddress - used, suffix, std::strlen(suffix));

    HeapText page(ArticlePageCapacity);
    if (!page.get() || !FetchPage(pageAddress, page.get(), page.capacity())) return 0;
    ConvertPageFromUtf8(page);
    if (!ExtractContinuationPage(page.get(), page.capacity(), CategoryMarkers())) return 0;
    AppendContinuationPage(JoinedText, sizeof JoinedText, page.get());
    return 1;
}

int ReceiveArticleForRecording(HWND) {
    HeapText output(ArticleTextCapacity);
    HeadlineStore.counts[1] = 0;
    int selection = SelectedHeadline();
    if (selection < 0 || !output.get()) return 0;

    HeapText page(ArticlePageCapacity);
    char address[AddressCapacity];
    if (!FetchSelectedArticle(selection, page, address)) return 0;

    int links = 0;
    ExtractRecordingArticle(page.get(),
                            page.capacity(),
                            ClassifyArticleSource(Parameter(2)),
                            CategoryMarkers(),
                            HeadlineStore.titles[1],
                            HeadlineStore.addresses[1],
                            &links);
    HeadlineStore.counts[1] = links;
    MakeArticlePageTitle(HeadlineStore.titles[0][selection], HeadlineStore.pageTitles[0], TitleCapacity);
    ComposeRecordingText(HeadlineStore.titles[0][selection],
                         page.get(),
                         Settings.RecordTitleFirst != 0,
                         output.get(),
                         output.capacity());
    ShowArticleText(output.get());
    return 1;
}
