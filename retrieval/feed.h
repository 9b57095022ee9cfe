// Reading news feeds (RSS 0.9x/2.0, RSS 1.0/RDF, Atom) and finding them in web pages.
//
// Feeds come from the network and are often sloppy: the reader never rejects a whole feed for
// a fault in its markup, it keeps every item that can be read. Everything here is linear in the
// length of its input and every string it returns is bounded.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

enum class FeedEncoding { Utf8, ShiftJis, EucJp };

// The encoding of received feed or page bytes: a UTF-8 byte-order mark, then the XML prolog's
// encoding="..." (or an HTML meta charset), then the HTTP Content-Type charset (contentType may
// be empty or null), else UTF-8. A text declared Shift_JIS or EUC-JP whose bytes are all valid
// UTF-8 (and hold some non-ASCII character) is taken as UTF-8: sites that change their encoding
// often forget the declaration, and Japanese text in the other two is never valid UTF-8 for long.
FeedEncoding DetectFeedEncoding(const char* bytes, std::size_t length, const char* contentType);

// Longest title and address kept; longer ones are cut (titles on a character boundary) or,
// for addresses, the item is skipped.
constexpr std::size_t FeedTitleLimit = 255;   // fits a headline line
constexpr std::size_t FeedAddressLimit = 1023;  // fits a headline address

struct FeedItem {
    std::string title;    // Shift-JIS, references decoded, tags removed, whitespace collapsed
    std::string address;  // absolute http(s) address (relative links resolved against the feed)
    std::string id;       // guid / Atom id / rdf:about, or the address when there is none;
                          // one line (no control characters), at most FeedAddressLimit bytes
};

struct ParsedFeed {
    bool isFeed = false;  // an rss, rdf:RDF or feed root element was found
    std::string title;    // the channel's / feed's own title (Shift-JIS)
    std::vector<FeedItem> items;  // in document order, at most maxItems; items without an
                                  // http(s) address are skipped
};

// text: the feed converted to Shift-JIS by the caller (NUL not required; length bytes), as
// ConvertReceivedPage converts a page: references to characters beyond ASCII are best decoded
// before the conversion, since here only those to ASCII and a few kana and marks are known.
// feedAddress: the address it was received from (relative links are resolved against it, or
// against the feed's xml:base); may be empty.
// Linear in length; tolerant of sloppy XML (stray '&', unclosed tags, CDATA, HTML in titles).
ParsedFeed ParseFeed(const char* text, std::size_t length, const char* feedAddress,
                     std::size_t maxItems);

struct FeedLink {
    std::string title;    // the link's title attribute (Shift-JIS), may be empty
    std::string address;  // absolute http(s) address
};

// The <link rel="alternate" type="application/rss+xml|application/atom+xml" href=...> of an
// HTML page (Shift-JIS text), in page order, duplicates removed, relative hrefs resolved
// (against the page's <base href> when it has one).
std::vector<FeedLink> FindFeedLinks(const char* html, std::size_t length, const char* pageAddress);

// An address relative to base made absolute; empty when the result is not http(s) or holds
// control characters. An absolute http(s) relative is returned as it is (its scheme and host
// lowercased); "//host/path" takes the base's scheme.
std::string ResolveAddress(const char* base, const char* relative);

// EUC-JP bytes in Shift-JIS: JIS X 0208 (with the NEC special characters of row 13) and the
// half-width katakana keep their form; JIS X 0212 characters and bytes that are not EUC-JP
// become the stand-in (SjisStandIn). A portable alternative to the platform's code page.
std::string EucJpToShiftJis(const char* bytes, std::size_t length);
