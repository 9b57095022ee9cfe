// Reads hostile bytes as a feed, a page with feed links and an OPML list, and checks what a
// caller would store: bounded, web addresses only, no control characters, no half characters.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "library/opml.h"
#include "retrieval/feed.h"
#include "retrieval/sjis.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

void CheckText(const std::string& s, std::size_t limit) {
    Check(s.size() <= limit);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (SjisIsLead(c)) {
            Check(i + 1 < s.size());  // never half a character
            const unsigned char trail = static_cast<unsigned char>(s[++i]);
            Check(trail >= 0x40 && trail != 0x7F && trail <= 0xFC);
            continue;
        }
        Check(c >= 0x20 && c != 0x7F);
    }
}

void CheckAddress(const std::string& a) {
    Check(!a.empty() && a.size() <= FeedAddressLimit);
    Check(a.compare(0, 7, "http://") == 0 || a.compare(0, 8, "https://") == 0);
    for (char c : a) Check(static_cast<unsigned char>(c) > 0x20 && c != 0x7F);
    Check(ResolveAddress("", a.c_str()) == a);  // a resolved address is final
}

const char* const Bases[] = {"https://news.example/a/b/feed.xml?x=1", "http://h.example", "", "file:///c:/"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const char* base = Bases[in.ConsumeIntegralInRange<int>(0, 3)];
    const std::size_t maxItems = in.ConsumeIntegralInRange<std::size_t>(0, 40);
    const std::string relative = in.ConsumeRandomLengthString(64);
    const std::string text = in.ConsumeRemainingBytesAsString();

    const std::string resolved = ResolveAddress(base, relative.c_str());
    if (!resolved.empty()) CheckAddress(resolved);

    DetectFeedEncoding(text.data(), text.size(), relative.c_str());

    // converted EUC-JP is whole Shift-JIS characters
    const std::string converted = EucJpToShiftJis(text.data(), text.size());
    for (std::size_t i = 0; i < converted.size(); ++i) {
        if (!SjisIsLead(static_cast<unsigned char>(converted[i]))) continue;
        Check(++i < converted.size());
        const unsigned char trail = static_cast<unsigned char>(converted[i]);
        Check(trail >= 0x40 && trail != 0x7F && trail <= 0xFC);
    }

    const ParsedFeed feed = ParseFeed(text.data(), text.size(), base, maxItems);
    Check(feed.items.size() <= maxItems);
    Check(feed.isFeed || feed.items.empty());
    CheckText(feed.title, FeedTitleLimit);
    for (const FeedItem& item : feed.items) {
        CheckText(item.title, FeedTitleLimit);
        Check(!item.title.empty());
        CheckAddress(item.address);
        Check(!item.id.empty());
        CheckText(item.id, FeedAddressLimit);
    }

    for (const FeedLink& link : FindFeedLinks(text.data(), text.size(), base)) {
        CheckText(link.title, FeedTitleLimit);
        CheckAddress(link.address);
    }

    const std::vector<OpmlFeed> feeds = ReadOpml(text.data(), text.size());
    for (const OpmlFeed& f : feeds) {
        CheckText(f.title, FeedTitleLimit);
        CheckAddress(f.address);
    }
    // what is written reads back the same
    const std::string written = WriteOpml(feeds, feed.title.c_str());
    const std::vector<OpmlFeed> back = ReadOpml(written.data(), written.size());
    Check(back.size() == feeds.size());
    for (std::size_t i = 0; i < back.size(); ++i)
        Check(back[i].address == feeds[i].address && back[i].title == feeds[i].title);
    return 0;
}
