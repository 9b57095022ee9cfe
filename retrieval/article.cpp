// Opening articles (Win32 side): the download and its code page, the continuation pages and
// the result handed back. The cutting and cleaning are in article_rules and forecast.
#include "retrieval/article.h"

#include <windows.h>

#include <cstring>

#include "retrieval/article_rules.h"
#include "retrieval/feedpage.h"
#include "retrieval/fetch.h"
#include "retrieval/forecast.h"
#include "retrieval/pagecode.h"
#include "retrieval/sjis.h"
#include "retrieval/sources.h"
#include "retrieval/textcut.h"
#include "win/handles.h"

namespace {

constexpr DWORD ContinuationPause = 50;

ArticleMarkers CategoryMarkers(const CategoryParameterSet& parameters) {
    ArticleMarkers markers;
    markers.bodyStart = CategoryParameter(parameters, 8);
    markers.bodyEnd = CategoryParameter(parameters, 9);
    markers.spanStart = CategoryParameter(parameters, 10);
    markers.spanEnd = CategoryParameter(parameters, 11);
    markers.relatedStart = CategoryParameter(parameters, 13);
    markers.relatedEnd = CategoryParameter(parameters, 14);
    return markers;
}

// The articles of the user's own feeds come from any site: their code page is the page's own.
bool OwnFeed(const CategoryParameterSet& parameters) {
    return std::strcmp(CategoryParameter(parameters, 2), "feed") == 0;
}

// Pages are UTF-8 unless the category says "2" (already Shift-JIS); either way their
// character references are decoded.
void ConvertPage(win::HeapBuffer& page, const CategoryParameterSet& parameters) {
    if (OwnFeed(parameters)) {
        ConvertWebPage(page.get(), page.capacity());
        return;
    }
    ConvertReceivedPage(
        page.get(), page.capacity(), std::strcmp(CategoryParameter(parameters, 12), "2") != 0);
}

void Clear(ArticleResult& result) {
    result.failure = ArticleFailure::None;
    result.addressKnown = false;
    result.address[0] = '\0';
    result.text.clear();
    result.titled = false;
    result.title[0] = '\0';
    result.linkCount = 0;
}

// Completes the headline's address into result.address and downloads it.
bool FetchArticlePage(const ArticleRequest& request, win::HeapBuffer& page, ArticleResult& result) {
    const CategoryParameterSet& parameters = *request.parameters;
    // A cut address names another page: it is neither fetched nor offered to the browser.
    const bool whole = CompleteArticleAddress(
        request.headlineAddress, CategoryParameter(parameters, 2), result.address, AddressCapacity);
    result.addressKnown = whole;
    if (!whole || !page.get() || !FetchPage(result.address, page.get(), page.capacity())) {
        result.failure = ArticleFailure::NotReceived;
        return false;
    }
    ConvertPage(page, parameters);
    return true;
}

// Fetches continuation page pageNumber (2 to 10 add "?page=2" to "?page=10" to base) and
// appends its body to joined. False, without a word, when the page was not received or holds
// no body.
bool AppendArticlePage(const char* base, int pageNumber, const CategoryParameterSet& parameters, char* joined,
                       size_t joinedCapacity) {
    char pageAddress[AddressCapacity];
    const size_t baseLength = std::strlen(base);
    const char* suffix = ContinuationSuffix(pageNumber);
    const size_t suffixLength = std::strlen(suffix);
    if (SjisCopyCut(pageAddress, sizeof pageAddress, base, baseLength) != baseLength) return false;
    if (SjisCopyCut(pageAddress + baseLength, sizeof pageAddress - baseLength, suffix, suffixLength) != suffixLength)
        return false;

    win::HeapBuffer page(ArticlePageCapacity);
    if (!page.get() || !FetchPage(pageAddress, page.get(), page.capacity())) return false;
    ConvertPage(page, parameters);
    if (!ExtractContinuationPage(page.get(), page.capacity(), CategoryMarkers(parameters))) return false;
    AppendContinuationPage(joined, joinedCapacity, page.get());
    return true;
}

// Joins continuation pages 2 to 10 to the text when the last link of the article leads to
// page 2, into result.text.
void JoinPagedArticle(const ArticleSource& source, const CategoryParameterSet& parameters, char* text,
                      ArticleResult& result) {
    int links = result.linkCount;
    char base[AddressCapacity];
    if (links >= 1 &&
        PagedArticleBase(
            result.linkAddresses[links - 1], SourceAddress(SourceYahooNewsHost), base, sizeof base)) {
        win::HeapBuffer joined(ArticleTextCapacity);
        if (!joined.get()) return;
        SjisCopyCut(joined.get(), joined.capacity(), text, std::strlen(text));
        for (int k = 2; k <= LastContinuationPage; ++k) {
            if (!AppendArticlePage(base, k, parameters, joined.get(), joined.capacity())) break;
            Sleep(ContinuationPause);
        }
        result.text = joined.get();
        return;
    }
    if (source.yahooPaged) CutBetween(text, MarkerNone, "【関連記事】");
    result.text = text;
}

}  // namespace

bool ReceiveArticle(const ArticleRequest& request, ArticleResult& result) {
    Clear(result);
    const CategoryParameterSet& parameters = *request.parameters;
    if (std::strcmp(CategoryParameter(parameters, 2), "radio") == 0) {
        result.failure = ArticleFailure::Radio;
        return false;
    }

    win::HeapBuffer page(ArticlePageCapacity);
    if (!FetchArticlePage(request, page, result)) return false;

    const ArticleSource source = ClassifyArticleSource(CategoryParameter(parameters, 2));
    if (source.weather) {
        FormatForecast(page.get(), page.capacity());  // without its tables the page shows as cut
        result.text = page.get();
        return true;
    }

    const bool offersLinks =
        !IsAsahiRssFeed(CategoryParameter(parameters, 3), SourceAddress(SourceAsahiRssHost));
    int links = 0;
    if (OwnFeed(parameters)) {
        // No markers are known for the sites of the user's feeds: the page's main text is read.
        if (!ExtractMainTextArticle(page.get(), page.capacity(), source, CategoryMarkers(parameters))) {
            result.failure = ArticleFailure::NoBody;
            return false;
        }
    } else if (!ExtractArticle(page.get(),
                        page.capacity(),
                        source,
                        CategoryMarkers(parameters),
                        result.linkTitles,
                        result.linkAddresses,
                        &links,
                        offersLinks) &&
        !(request.mainTextFallback &&
          ExtractMainTextArticle(page.get(), page.capacity(), source, CategoryMarkers(parameters)))) {
        result.failure = ArticleFailure::NoBody;
        return false;
    }
    result.linkCount = links;
    MakeArticlePageTitle(request.headlineTitle, result.title, TitleCapacity);
    result.titled = true;

    if (source.rss || source.yahooPaged)
        JoinPagedArticle(source, parameters, page.get(), result);
    else
        result.text = page.get();
    return true;
}

bool ReceiveArticleForRecording(const ArticleRequest& request, bool titleFirst, ArticleResult& result) {
    Clear(result);
    win::HeapBuffer output(ArticleTextCapacity);
    if (!output.get()) return false;
    win::HeapBuffer page(ArticlePageCapacity);
    if (!FetchArticlePage(request, page, result)) return false;

    const CategoryParameterSet& parameters = *request.parameters;
    int links = 0;
    ExtractRecordingArticle(page.get(),
                            page.capacity(),
                            ClassifyArticleSource(CategoryParameter(parameters, 2)),
                            CategoryMarkers(parameters),
                            result.linkTitles,
                            result.linkAddresses,
                            &links);
    result.linkCount = links;
    MakeArticlePageTitle(request.headlineTitle, result.title, TitleCapacity);
    result.titled = true;
    ComposeRecordingText(request.headlineTitle, page.get(), titleFirst, output.get(), output.capacity());
    result.text = output.get();
    return true;
}

bool ReceiveRelatedPage(const char* address, const CategoryParameterSet& parameters, bool useMarkers,
                        bool collectLinks, ArticleResult& result) {
    Clear(result);
    const size_t length = std::strlen(address);
    const bool whole = SjisCopyCut(result.address, AddressCapacity, address, length) == length;
    RepairRelatedAddress(result.address, AddressCapacity, SourceAddress(SourceGooNews));
    result.addressKnown = whole;
    win::HeapBuffer page(ArticlePageCapacity);
    if (!whole || !page.get() || !FetchPage(result.address, page.get(), page.capacity())) {
        result.failure = ArticleFailure::NotReceived;
        return false;
    }
    ConvertPage(page, parameters);
    int links = 0;
    ExtractRelatedPage(page.get(),
                       page.capacity(),
                       ClassifyArticleSource(CategoryParameter(parameters, 2)),
                       CategoryMarkers(parameters),
                       useMarkers,
                       result.linkTitles,
                       result.linkAddresses,
                       &links,
                       collectLinks);
    result.linkCount = links;
    result.text = page.get();
    return true;
}
