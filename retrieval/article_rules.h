// Cutting an article page into its plain text: the body area, the rules of the
// sources that need their own treatment, the links inside the body, the cleaning
// into lines, the page title and the joining of continuation pages.
//
// Everything works in place on NUL-terminated Shift-JIS texts in the caller's
// buffers, with the capacity of every buffer that may be written past its current
// length. Pages are hostile input: whatever they hold, nothing is written beyond a
// capacity.
#pragma once

#include <cstddef>

#include "retrieval/headlines.h"

// Capacities of the article texts.
constexpr std::size_t ArticlePageCapacity = 1024000;  // one downloaded page
constexpr std::size_t ArticleTextCapacity = 102400;   // a joined paged text, a recording text
constexpr std::size_t FoldCapacity = 131072;          // the text folded from CR LF to LF
constexpr int RelatedLinkLimit = 100;
constexpr int RecordingLinkLimit = 300;
constexpr int LastContinuationPage = 10;
constexpr int RelatedPageLinkLimit = 300;
constexpr std::size_t HostScratch = 264;  // a configured host (at most 255 bytes) and "//"

// Which of the sources with rules of their own a category's source identifier names.
struct ArticleSource {
    bool rss = false;
    bool yahoo = false;       // the portal's top page: last-marker body cut
    bool yahooPaged = false;  // the same written with a doubled final slash: paged articles
    bool sankei = false;
    bool animate = false;
    bool dailySports = false;
    bool allAbout = false;
    bool weather = false;
};

// The body markers of a category and the span it removes from every text.
struct ArticleMarkers {
    const char* bodyStart = "";
    const char* bodyEnd = "";
    const char* spanStart = "";
    const char* spanEnd = "";
    const char* relatedStart = "";  // the cut of a page opened as news from a related link
    const char* relatedEnd = "";
};

// Resolves "../" in the stored headline address (in place, so the store changes too)
// and writes the page address into page: the address itself when it holds "://",
// otherwise the category base without its last byte followed by the address.
// Returns 0 when the page address had to be cut to fit pageCapacity.
int CompleteArticleAddress(char* address, const char* base, char* page, std::size_t pageCapacity);

// Cuts the page to its body area. Returns 0, the page unchanged, when the body
// start marker is missing (never for the Yahoo! News source, which falls back on
// markers of its own).
int CutArticleBody(char* page, const ArticleSource& source, const ArticleMarkers& markers);

// The cuts and removals of the individual sources, in their fixed order.
void ApplySourceRules(char* page, const ArticleSource& source, const ArticleMarkers& markers);

// Collects the anchors of the body as related links: at most limit entries, each
// title and address cut to its capacity. Anchors without text or with an image as
// text are skipped. Returns the number of links stored.
int CollectRelatedLinks(const char* page, char (*titles)[TitleCapacity], char (*addresses)[AddressCapacity],
                        int limit);

// Whether the list page address is one of the eight Asahi Shimbun RSS feeds, given
// the host they live on (with or without a final slash).
bool IsAsahiRssFeed(const char* listAddress, const char* host);

// The whole text path of an opened article: body area, source rules, related links
// (none when offersLinks is false) and cleaning. Returns 0, the page unchanged and
// no links, when the body start marker is missing.
int ExtractArticle(char* page, std::size_t pageCapacity, const ArticleSource& source,
                   const ArticleMarkers& markers, char (*titles)[TitleCapacity],
                   char (*addresses)[AddressCapacity], int* linkCount, bool offersLinks);

// The fallback for a page whose body start marker is missing: its main text (maintext.h),
// cleaned as a marker-cut body is. Returns 0, and empties the page, when the page holds no
// article-sized text.
int ExtractMainTextArticle(char* page, std::size_t pageCapacity, const ArticleSource& source,
                           const ArticleMarkers& markers);

// The text path of an article taken for recording: the body area without any test of
// its marker and without source rules, up to RecordingLinkLimit links, and cleaning
// without the advertisement removal.
void ExtractRecordingArticle(char* page, std::size_t pageCapacity, const ArticleSource& source,
                             const ArticleMarkers& markers, char (*titles)[TitleCapacity],
                             char (*addresses)[AddressCapacity], int* linkCount);

// Which sources with rules of their own a category's Parameter2 names.
ArticleSource ClassifyArticleSource(const char* sourceIdentifier);

// Cleans a body into plain lines. withAllAbout adds the advertisement removal of
// that source (the recording text leaves it out). pageCapacity is the size of the
// buffer; the text is cut to FoldCapacity before its line breaks are folded.
void CleanArticleText(char* page, std::size_t pageCapacity, const ArticleSource& source,
                      const ArticleMarkers& markers, bool withAllAbout);

// Cuts and cleans the body of a continuation page ("?page=2" onwards). Returns 0,
// the page unchanged, when it holds no body start marker.
int ExtractContinuationPage(char* page, std::size_t pageCapacity, const ArticleMarkers& markers);

// The page title of an article: the headline after its first line break, if it has
// one, without ASCII spaces, tabs and line breaks.
void MakeArticlePageTitle(const char* headline, char* title, std::size_t titleCapacity);

// The suffix of continuation page number ("?page=2" to "?page=10"), or "" for any
// other number.
const char* ContinuationSuffix(int pageNumber);

// When link (the last related link of page 1) ends in "?page=2", writes the address
// the continuation pages are built on: host without its final slash followed by the
// link without that suffix, and returns 1. Otherwise returns 0.
int PagedArticleBase(const char* link, const char* host, char* base, std::size_t baseCapacity);

// Appends a continuation page to the joined text (cut at capacity) and then removes
// the first span from "前へ" through the next "配信" from the whole joined text, when
// the text holds a "前へ".
void AppendContinuationPage(char* joined, std::size_t capacity, const char* page);

// The text a recording renders: "title\r\n" followed by the text when titleFirst,
// the text alone otherwise, cut at capacity.
void ComposeRecordingText(const char* title, const char* text, bool titleFirst, char* out,
                          std::size_t capacity);

// The repairs of a related page's address before it is fetched: ".net//" becomes ".net/",
// then gooHost followed by "//" becomes gooHost followed by "/".
void RepairRelatedAddress(char* address, std::size_t capacity, const char* gooHost);

// Resolves "../" in the stored link (in place, so the store changes too) and writes the page
// address into page: the link itself when it holds "://", otherwise base, whole, followed by
// the link. Returns 0 when the page address had to be cut to fit pageCapacity.
int CompleteRelatedAddress(char* link, const char* base, char* page, std::size_t pageCapacity);

// The text path of a related page: with useMarkers the cut between relatedStart and
// relatedEnd (the portal's top page has rules of its own), its links (at most
// RelatedPageLinkLimit, none unless collectLinks) and the cleaning.
void ExtractRelatedPage(char* page, std::size_t pageCapacity, const ArticleSource& source,
                        const ArticleMarkers& markers, bool useMarkers, char (*titles)[TitleCapacity],
                        char (*addresses)[AddressCapacity], int* linkCount, bool collectLinks);
