#include "retrieval/article_rules.h"

#include <cstring>

#include "retrieval/maintext.h"
#include "retrieval/sjis.h"
#include "retrieval/sources.h"
#include "retrieval/textcut.h"

namespace {

const char* const RelatedArticlesHeading = "<div class=\"listTitle\">【関連記事】</div>";
const char* const StyleBlockStart = "/* sc-component-id: sc-hzDkRC */";
const char* const StyleBlockEnd =
    ".fHXFEz{width:100%;margin-top:4px;font-size:0.7499999999999999rem;line-height:1.3;"
    "color:#949494;}";
const char* const CacheScriptEnd = "noCacheParam=Math.random()*10000000000;";
const char* const PagedSuffix = "?page=2";

const char* const AsahiFeedPaths[] = {
    "/rss/asahi/national.rdf",
    "/rss/asahi/business.rdf",
    "/rss/asahi/politics.rdf",
    "/rss/asahi/international.rdf",
    "/rss/asahi/sports.rdf",
    "/rss/asahi/culture.rdf",
    "/rss/asahi/science.rdf",
    "/rss/asahi/newsheadlines.rdf",
};

bool Contains(const char* text, const char* marker) {
    int position = 0;
    return FindMarker(text, marker, &position) == 1;
}

// Appends s to text (a buffer of capacity bytes), cut on a character boundary.
void Append(char* text, std::size_t capacity, const char* s) {
    std::size_t used = std::strlen(text);
    if (used + 1 >= capacity) return;
    SjisCopyCut(text + used, capacity - used, s, std::strlen(s));
}

bool EndsWith(const char* text, const char* suffix) {
    std::size_t n = std::strlen(text), m = std::strlen(suffix);
    return n >= m && std::memcmp(text + n - m, suffix, m) == 0;
}

// The first steps every body, continuation and related page goes through: tags out, one LF
// per line break, no empty lines, the category's span out.
void CleanLineBreaks(char* page, std::size_t capacity, const ArticleMarkers& markers) {
    DeleteSpacePairs(page);
    ReplaceAll(page, capacity, "→", "");
    ReplaceAll(page, capacity, "\t", "");
    ReplaceAll(page, capacity, "</p>", "\n");
    StripTags(page);
    SjisTruncate(page, capacity < FoldCapacity ? capacity : FoldCapacity);
    FoldCrLf(page);
    ReplaceAll(page, capacity, "\r", "");
    CollapseBlankLines(page);
    RemoveSpan(page, markers.spanStart, markers.spanEnd);
}

void CleanLines(char* page, std::size_t capacity, const ArticleMarkers& markers) {
    CleanLineBreaks(page, capacity, markers);
    CutBetween(page, MarkerNone, CacheScriptEnd);
}

}  // namespace

int CompleteArticleAddress(char* address, const char* base, char* page, std::size_t pageCapacity) {
    if (pageCapacity == 0) return 0;
    ResolveParentPath(address);
    const std::size_t addressLength = std::strlen(address);
    if (Contains(address, "://"))
        return SjisCopyCut(page, pageCapacity, address, addressLength) == addressLength;
    std::size_t baseLength = std::strlen(base);
    if (baseLength > 0) --baseLength;  // a base ending in '/' meets an address starting with one
    std::size_t used = SjisCopyCut(page, pageCapacity, base, baseLength);
    if (used < baseLength) return 0;
    return SjisCopyCut(page + used, pageCapacity - used, address, addressLength) == addressLength;
}

namespace {

// The portal's top-page body: between the last of the markers, or of its own when neither is
// found, and before its related-articles heading.
void CutYahooBody(char* page, const char* start, const char* end) {
    if (!CutBetweenLast(page, start, end))
        CutBetweenLast(page, "<div class=\"hdLogoWrap\">", "<!--- interest_match_relevant_zone_end --->");
    CutBetween(page, MarkerNone, RelatedArticlesHeading);
}

}  // namespace

int CutArticleBody(char* page, const ArticleSource& source, const ArticleMarkers& markers) {
    if (source.yahoo) {
        CutYahooBody(page, markers.bodyStart, markers.bodyEnd);
        return 1;
    }
    if (!Contains(page, markers.bodyStart)) return 0;
    CutBetween(page, markers.bodyStart, markers.bodyEnd);
    return 1;
}

void ApplySourceRules(char* page, const ArticleSource& source, const ArticleMarkers& markers) {
    if (source.sankei)
        for (int k = 0; k < 5; ++k) RemoveSpanFrom(page, markers.spanStart, markers.spanEnd);
    if (source.rss) {
        CutBetween(page, MarkerNone, RelatedArticlesHeading);
        CutBetweenLast(page, MarkerNone, "<h2>こんな記事も読まれています</h2>");
    }
    if (source.yahoo) CutBetweenLast(page, MarkerNone, "<h3 class=\"sc-hEsumM jLqHXT\">");
    if (std::strcmp(markers.bodyStart, "<div class=\"p-main-contents \">") == 0)
        CutBetween(page,
                   "<div class=\"p-main-contents\">",
                   "<aside class=\"ev-article-manual-related__article-inline\">");
    if (source.animate)
        for (int k = 0; k < 2; ++k) RemoveSpan(page, "var ", "});");
    if (source.dailySports)
        CutBetweenLast(page, MarkerNone, "<a href=\"javascript:DAILY.openNewsDetail();\"");
}

int CollectRelatedLinks(const char* page, char (*titles)[TitleCapacity], char (*addresses)[AddressCapacity],
                        int limit) {
    int count = 0;
    int position = 0;
    while (count < limit) {
        char* address = addresses[count];
        char* title = titles[count];
        if (!ExtractAnchor(page, address, AddressCapacity, title, TitleCapacity, &position)) break;
        CutBetween(address, MarkerNone, "\"");
        StripTags(address);
        StripTags(title);
        ReplaceAll(title, TitleCapacity, ":", "：");
        if (title[0] == '\0' || Contains(title, "<img ")) continue;  // the slot is reused
        ++count;
    }
    return count;
}

bool IsAsahiRssFeed(const char* listAddress, const char* host) {
    std::size_t hostLength = std::strlen(host);
    if (hostLength > 0 && host[hostLength - 1] == '/') --hostLength;
    if (std::strncmp(listAddress, host, hostLength) != 0) return false;
    for (const char* path : AsahiFeedPaths)
        if (std::strcmp(listAddress + hostLength, path) == 0) return true;
    return false;
}

void CleanArticleText(char* page, std::size_t pageCapacity, const ArticleSource& source,
                      const ArticleMarkers& markers, bool withAllAbout) {
    CleanLines(page, pageCapacity, markers);
    ReplaceAll(page, pageCapacity, "&nbsp;", "");
    if (source.rss || source.yahoo) RemoveSpan(page, StyleBlockStart, StyleBlockEnd);
    if (withAllAbout && source.allAbout) RemoveSpan(page, "googletag.cmd.push", "});");
}

int ExtractContinuationPage(char* page, std::size_t pageCapacity, const ArticleMarkers& markers) {
    if (!Contains(page, markers.bodyStart)) return 0;
    CutBetween(page, markers.bodyStart, markers.bodyEnd);
    CleanLines(page, pageCapacity, markers);
    CutBetween(page, MarkerNone, "【関連記事】");
    ReplaceAll(page, pageCapacity, "&nbsp;", "");
    return 1;
}

void MakeArticlePageTitle(const char* headline, char* title, std::size_t titleCapacity) {
    if (titleCapacity == 0) return;
    const char* lineFeed = std::strchr(headline, '\n');
    const char* from = lineFeed ? lineFeed + 1 : headline;
    SjisCopyCut(title, titleCapacity, from, std::strlen(from));
    char* out = title;
    for (const char* in = title; *in; ++in)
        if (*in != ' ' && *in != '\t' && *in != '\n') *out++ = *in;
    *out = '\0';
}

const char* ContinuationSuffix(int pageNumber) {
    static const char* const Suffixes[] = {
        "?page=2", "?page=3", "?page=4", "?page=5", "?page=6", "?page=7", "?page=8", "?page=9", "?page=10"};
    if (pageNumber < 2 || pageNumber > LastContinuationPage) return "";
    return Suffixes[pageNumber - 2];
}

int PagedArticleBase(const char* link, const char* host, char* base, std::size_t baseCapacity) {
    if (baseCapacity == 0 || !EndsWith(link, PagedSuffix)) return 0;
    std::size_t hostLength = std::strlen(host);
    if (hostLength > 0 && host[hostLength - 1] == '/') --hostLength;
    std::size_t used = SjisCopyCut(base, baseCapacity, host, hostLength);
    SjisCopyCut(base + used, baseCapacity - used, link, std::strlen(link) - std::strlen(PagedSuffix));
    return 1;
}

void AppendContinuationPage(char* joined, std::size_t capacity, const char* page) {
    Append(joined, capacity, page);
    // Without "前へ" the span would take everything before "配信" with it.
    if (Contains(joined, "前へ")) RemoveSpan(joined, "前へ", "配信");
}

void ComposeRecordingText(const char* title, const char* text, bool titleFirst, char* out,
                          std::size_t capacity) {
    if (capacity == 0) return;
    out[0] = '\0';
    if (titleFirst) {
        Append(out, capacity, title);
        Append(out, capacity, "\r\n");
    }
    Append(out, capacity, text);
}

int ExtractArticle(char* page, std::size_t pageCapacity, const ArticleSource& source,
                   const ArticleMarkers& markers, char (*titles)[TitleCapacity],
                   char (*addresses)[AddressCapacity], int* linkCount, bool offersLinks) {
    *linkCount = 0;
    if (!CutArticleBody(page, source, markers)) return 0;
    ApplySourceRules(page, source, markers);
    int count = CollectRelatedLinks(page, titles, addresses, RelatedLinkLimit);
    *linkCount = offersLinks ? count : 0;
    CleanArticleText(page, pageCapacity, source, markers, true);
    return 1;
}

int ExtractMainTextArticle(char* page, std::size_t pageCapacity, const ArticleSource& source,
                           const ArticleMarkers& markers) {
    if (!ExtractMainText(page)) return 0;
    CleanArticleText(page, pageCapacity, source, markers, true);
    return 1;
}

void ExtractRecordingArticle(char* page, std::size_t pageCapacity, const ArticleSource& source,
                             const ArticleMarkers& markers, char (*titles)[TitleCapacity],
                             char (*addresses)[AddressCapacity], int* linkCount) {
    CutBetween(page, markers.bodyStart, markers.bodyEnd);
    *linkCount = CollectRelatedLinks(page, titles, addresses, RecordingLinkLimit);
    CleanArticleText(page, pageCapacity, source, markers, false);
}

ArticleSource ClassifyArticleSource(const char* sourceIdentifier) {
    ArticleSource source;
    source.rss = std::strcmp(sourceIdentifier, "rss") == 0;
    source.yahoo = IsSource(sourceIdentifier, SourceYahooNews);
    source.yahooPaged = IsSource(sourceIdentifier, SourceYahooNewsDoubled);
    source.sankei = IsSource(sourceIdentifier, SourceSankei);
    source.animate = IsSource(sourceIdentifier, SourceAnimateTimesDoubled);
    source.dailySports = IsSource(sourceIdentifier, SourceDailySports);
    source.allAbout = IsSource(sourceIdentifier, SourceAllAbout);
    source.weather = IsSource(sourceIdentifier, SourceWeather);
    return source;
}

void RepairRelatedAddress(char* address, std::size_t capacity, const char* gooHost) {
    ReplaceAll(address, capacity, ".net//", ".net/");
    if (gooHost[0] == '\0') return;
    char doubled[HostScratch];
    char single[HostScratch];
    SjisCopyCut(single, sizeof single, gooHost, std::strlen(gooHost));
    SjisCopyCut(doubled, sizeof doubled, gooHost, std::strlen(gooHost));
    Append(single, sizeof single, "/");
    Append(doubled, sizeof doubled, "//");
    ReplaceAll(address, capacity, doubled, single);
}

int CompleteRelatedAddress(char* link, const char* base, char* page, std::size_t pageCapacity) {
    if (pageCapacity == 0) return 0;
    ResolveParentPath(link);
    const std::size_t linkLength = std::strlen(link);
    if (Contains(link, "://")) return SjisCopyCut(page, pageCapacity, link, linkLength) == linkLength;
    const std::size_t baseLength = std::strlen(base);
    std::size_t used = SjisCopyCut(page, pageCapacity, base, baseLength);
    if (used < baseLength) return 0;
    return SjisCopyCut(page + used, pageCapacity - used, link, linkLength) == linkLength;
}

void ExtractRelatedPage(char* page, std::size_t pageCapacity, const ArticleSource& source,
                        const ArticleMarkers& markers, bool useMarkers, char (*titles)[TitleCapacity],
                        char (*addresses)[AddressCapacity], int* linkCount, bool collectLinks) {
    if (useMarkers) {
        if (source.yahoo)
            CutYahooBody(page, markers.relatedStart, markers.relatedEnd);
        else
            CutBetween(page, markers.relatedStart, markers.relatedEnd);
    }
    if (source.yahoo) CutBetweenLast(page, MarkerNone, "<h3 class=\"sc-hEsumM jLqHXT\">");
    *linkCount = collectLinks ? CollectRelatedLinks(page, titles, addresses, RelatedPageLinkLimit) : 0;
    CleanLineBreaks(page, pageCapacity, markers);
    if (source.rss || source.yahoo) RemoveSpan(page, StyleBlockStart, StyleBlockEnd);
    CutBetween(page, MarkerNone, "【関連記事】");
}
