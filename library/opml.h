// Exchanging the list of feeds with other feed readers (OPML).
#pragma once
#include <cstddef>
#include <string>
#include <vector>

struct OpmlFeed {
    std::string title;    // Shift-JIS
    std::string address;
};

// text: an OPML file converted to Shift-JIS by the caller. Every outline with an xmlUrl, nested
// outlines flattened in document order (no de-duplication here: the caller skips those it has).
// Only http(s) addresses are returned; an outline without a title takes its text attribute,
// else its address.
std::vector<OpmlFeed> ReadOpml(const char* text, std::size_t length);

// An OPML 2.0 document of the feeds, in Shift-JIS text with encoding="UTF-8" declared: the
// caller converts the whole to UTF-8 before writing it. Every text and attribute escaped.
std::string WriteOpml(const std::vector<OpmlFeed>& feeds, const char* title);
