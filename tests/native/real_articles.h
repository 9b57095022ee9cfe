// The saved real article pages (../shared/realworld/articles beside the repository), brought
// into the form the program extracts from: references decoded while UTF-8, then converted to
// Shift-JIS with the stand-in for what Shift-JIS lacks, as the receiver does on Windows.
// The extraction follows the receiver too: the category's markers where a shipped category
// fits the site, the main-text fallback otherwise. Shared by the tests and the benchmark.
#pragma once

#include <iconv.h>

#include <cerrno>
#include <memory>
#include <string>
#include <vector>

#include "retrieval/article_rules.h"
#include "retrieval/charrefs.h"
#include "retrieval/maintext.h"
#include "tests/native/test_files.h"

inline std::string RealArticlesFolder() { return Root() + "/../shared/realworld/articles"; }

// Converts between encodings with iconv; a character the target lacks becomes standIn.
inline std::string Convert(const std::string& text, const char* from, const char* to, const char* standIn) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string();
    std::string out;
    std::vector<char> buffer(text.size() * 4 + 16);
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        char* o = buffer.data();
        std::size_t oLeft = buffer.size();
        std::size_t done = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buffer.data(), buffer.size() - oLeft);
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // One character the target lacks (or a broken byte): the stand-in, then go on.
            std::size_t skip = 1;
            const unsigned char lead = static_cast<unsigned char>(*in);
            if (std::string(from) == "UTF-8")
                skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            if (skip > inLeft) skip = inLeft;
            out += standIn;
            in += skip;
            inLeft -= skip;
        }
    }
    iconv_close(cd);
    return out;
}

// A received UTF-8 page as the article receiver holds it: Shift-JIS, references decoded.
inline std::string ReceivedPage(std::string utf8) {
    if (utf8.compare(0, 3, "\xEF\xBB\xBF") == 0) utf8.erase(0, 3);
    std::vector<char> text(utf8.begin(), utf8.end());
    text.push_back('\0');
    DecodeReferencesUtf8(text.data());
    return Convert(text.data(), "UTF-8", "CP932", SjisStandIn);
}

inline std::string SjisToUtf8(const std::string& sjis) { return Convert(sjis, "CP932", "UTF-8", "?"); }

// One level of related links, as large as a level of the headline store.
struct LinkLevel {
    std::unique_ptr<char[][TitleCapacity]> titles{new char[HeadlinesPerLevel][TitleCapacity]()};
    std::unique_ptr<char[][AddressCapacity]> addresses{new char[HeadlinesPerLevel][AddressCapacity]()};
    int count = 0;
};

// Parameter n of [CategoryN] in a shipped category file (UTF-8 in the repository; the markers
// used here are ASCII, so they are the same in Shift-JIS).
inline std::string ShippedParameter(const char* file, int category, int n) {
    std::string text;
    if (!ReadFile(Root() + "/menus/News/" + file, &text)) return std::string();
    const std::string section = "[Category" + std::to_string(category) + "]";
    std::size_t at = text.find(section);
    if (at == std::string::npos) return std::string();
    const std::size_t sectionEnd = text.find("\n[", at + 1);
    const std::string key = "\nParameter" + std::to_string(n) + "=";
    at = text.find(key, at);
    if (at == std::string::npos || at > sectionEnd) return std::string();
    at += key.size();
    return text.substr(at, text.find('\n', at) - at);
}

// The article text of a received page in buffer (of capacity bytes), as the receiver gives
// it: the category's markers when a shipped category fits the site and finds its body,
// otherwise the main-text fallback, cleaned as a marker-cut body. Returns 0 when neither
// found a text (the browser question).
inline int ExtractReceivedArticle(char* buffer, std::size_t capacity, const std::string& name,
                                  LinkLevel* links) {
    ArticleSource source;
    ArticleMarkers markers;
    static const std::string yahooStart = ShippedParameter("rss.txt", 2, 8);
    static const std::string yahooEnd = ShippedParameter("rss.txt", 2, 9);
    if (name.compare(0, 6, "yahoo-") == 0) {
        // The Yahoo! News categories of the shipped RSS menu.
        source.rss = true;
        markers.bodyStart = yahooStart.c_str();
        markers.bodyEnd = yahooEnd.c_str();
        if (ExtractArticle(buffer,
                           capacity,
                           source,
                           markers,
                           links->titles.get(),
                           links->addresses.get(),
                           &links->count,
                           true))
            return 1;
    }
    links->count = 0;
    return ExtractMainTextArticle(buffer, capacity, source, markers);
}
