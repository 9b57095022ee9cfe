// Drives what happens to a related link and its page: the address as stored, repaired and
// completed against its base, the related page cut, its links collected and its text cleaned,
// and the main-text path of an article page whose markers do not fit it. Buffers are exactly
// as large as their contents plus a little room, so any read or write past a capacity is
// reported, and every text must end within its buffer.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "retrieval/article_rules.h"
#include "fuzz_heap.h"

namespace {

// Names the broken rule before the fuzzer reports the input.
#define Check(ok) \
    ((ok) ? (void)0 : (std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #ok), std::abort()))


std::string Text(FuzzedDataProvider& in, std::size_t most) {
    std::string s = in.ConsumeRandomLengthString(most);
    return std::string(s.c_str());
}

bool Terminated(const char* field, std::size_t capacity) { return std::memchr(field, '\0', capacity) != nullptr; }

// One level of the headline store, allocated once.
struct Level {
    std::unique_ptr<char[][TitleCapacity]> titles{new char[RelatedPageLinkLimit][TitleCapacity]};
    std::unique_ptr<char[][AddressCapacity]> addresses{new char[RelatedPageLinkLimit][AddressCapacity]};
};

void CheckLinks(const Level& level, int count, int limit) {
    Check(count >= 0 && count <= limit);
    for (int i = 0; i < count; ++i)
        Check(level.titles[i][0] != '\0' && Terminated(level.titles[i], TitleCapacity) &&
              Terminated(level.addresses[i], AddressCapacity));
}

void CheckAddresses(const std::string& stored, const std::string& base, const std::string& gooHost,
                    std::size_t pageCapacity) {
    // A link as the store holds it, in its slot of AddressCapacity bytes.
    std::vector<char> link(AddressCapacity, '\0');
    std::memcpy(link.data(), stored.data(), std::min(stored.size(), std::size_t(AddressCapacity) - 1));
    RepairRelatedAddress(link.data(), link.size(), gooHost.c_str());
    Check(Terminated(link.data(), link.size()));
    const std::string repaired(link.data());
    Check(repaired.size() <= std::strlen(stored.substr(0, AddressCapacity - 1).c_str()));

    std::vector<char> page(pageCapacity);
    const int whole = CompleteRelatedAddress(link.data(), base.c_str(), page.data(), page.size());
    Check(Terminated(link.data(), link.size()) && std::strlen(link.data()) <= repaired.size());
    if (pageCapacity == 0) {
        Check(!whole);
        return;
    }
    Check(Terminated(page.data(), page.size()));
    if (whole) {
        const std::string made(page.data());
        const std::string resolved(link.data());
        if (resolved.find("://") != std::string::npos)
            Check(made == resolved);
        else
            Check(made == base + resolved);
    }

    std::vector<char> article(stored.begin(), stored.end());
    article.resize(std::min(article.size(), std::size_t(AddressCapacity) - 1));
    article.push_back('\0');
    CompleteArticleAddress(article.data(), base.c_str(), page.data(), page.size());
    Check(Terminated(page.data(), page.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Level level;
    FuzzedDataProvider in(data, size);
    const unsigned flags = in.ConsumeIntegral<uint8_t>();
    ArticleSource source;
    source.rss = flags & 1;
    source.yahoo = flags & 2;
    source.allAbout = flags & 4;
    source.sankei = flags & 8;
    const bool useMarkers = flags & 16;
    const bool collectLinks = flags & 32;
    const std::size_t room = in.ConsumeIntegralInRange<std::size_t>(0, 64);
    const std::size_t pageCapacity = in.ConsumeIntegralInRange<std::size_t>(0, 300);
    std::string markers[6];
    for (std::string& m : markers) m = Text(in, 12);
    ArticleMarkers m;
    m.bodyStart = markers[0].c_str();
    m.bodyEnd = markers[1].c_str();
    m.spanStart = markers[2].c_str();
    m.spanEnd = markers[3].c_str();
    m.relatedStart = markers[4].c_str();
    m.relatedEnd = markers[5].c_str();
    const std::string gooHost = Text(in, 300);
    const std::string base = Text(in, 64);
    const std::string stored = Text(in, 1100);
    const std::string page = in.ConsumeRemainingBytesAsString();

    CheckAddresses(stored, base, gooHost, pageCapacity);

    int count = -1;
    Heap related(page, room);
    ExtractRelatedPage(related.p(), related.capacity(), source, m, useMarkers, level.titles.get(),
                       level.addresses.get(), &count, collectLinks);
    Check(related.Ends());
    CheckLinks(level, count, collectLinks ? RelatedPageLinkLimit : 0);

    // A page the markers miss: its main text, cleaned as a body is.
    Heap article(page, room);
    if (!ExtractMainTextArticle(article.p(), article.capacity(), source, m)) Check(article.p()[0] == '\0');
    Check(article.Ends());
    for (const char* p = article.p(); *p; ++p) Check(*p != '<' && *p != '>');
    return 0;
}
