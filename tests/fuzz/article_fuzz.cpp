// Drives the article and forecast extraction with hostile pages, markers and source
// rules. Page buffers are exactly as large as their contents plus a little room, so
// any read or write past a capacity is reported, and every text must end within it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "retrieval/article_rules.h"
#include "fuzz_heap.h"
#include "retrieval/forecast.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}


std::string Marker(FuzzedDataProvider& in) {
    std::string s = in.ConsumeRandomLengthString(12);
    return std::string(s.c_str());
}

// One level of the headline store, allocated once.
struct Level {
    std::unique_ptr<char[][TitleCapacity]> titles{new char[RecordingLinkLimit][TitleCapacity]};
    std::unique_ptr<char[][AddressCapacity]> addresses{new char[RecordingLinkLimit][AddressCapacity]};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Level level;
    FuzzedDataProvider in(data, size);
    ArticleSource source;
    const unsigned flags = in.ConsumeIntegral<uint16_t>();
    source.rss = flags & 1;
    source.yahoo = flags & 2;
    source.yahooPaged = flags & 4;
    source.sankei = flags & 8;
    source.animate = flags & 16;
    source.dailySports = flags & 32;
    source.allAbout = flags & 64;
    const std::size_t room = in.ConsumeIntegralInRange<std::size_t>(0, 64);
    const std::size_t joinedCapacity = in.ConsumeIntegralInRange<std::size_t>(1, 512);
    std::string markers[4];
    for (std::string& m : markers) m = Marker(in);
    if (flags & 128) markers[0] = "<div class=\"p-main-contents \">";
    ArticleMarkers m;
    m.bodyStart = markers[0].c_str();
    m.bodyEnd = markers[1].c_str();
    m.spanStart = markers[2].c_str();
    m.spanEnd = markers[3].c_str();
    const std::string page = in.ConsumeRemainingBytesAsString();

    int count = -1;
    Heap article(page, room);
    const int shown = ExtractArticle(
        article.p(), article.capacity(), source, m, level.titles.get(), level.addresses.get(), &count, true);
    Check(article.Ends() && count >= 0 && count <= RelatedLinkLimit);
    if (!shown) Check(count == 0 && std::string(article.p()) == std::string(page.c_str()));
    for (int i = 0; i < count; ++i)
        Check(level.titles[i][0] != '\0' && std::strlen(level.titles[i]) < TitleCapacity &&
              std::strlen(level.addresses[i]) < AddressCapacity);

    Heap recording(page, room);
    ExtractRecordingArticle(
        recording.p(), recording.capacity(), source, m, level.titles.get(), level.addresses.get(), &count);
    Check(recording.Ends() && count >= 0 && count <= RecordingLinkLimit);

    // Joining pages into a small text, and the recording text built from it.
    Heap joined(std::string(article.p()).substr(0, joinedCapacity - 1), joinedCapacity - 1);
    Heap next(page, room);
    if (ExtractContinuationPage(next.p(), next.capacity(), m))
        AppendContinuationPage(joined.p(), joinedCapacity, next.p());
    Check(std::strlen(joined.p()) < joinedCapacity);
    std::vector<char> out(joinedCapacity);
    ComposeRecordingText(markers[0].c_str(), next.p(), flags & 256, out.data(), out.size());
    Check(std::memchr(out.data(), '\0', out.size()) != nullptr);

    char title[TitleCapacity], address[64];
    MakeArticlePageTitle(page.c_str(), title, sizeof title);
    Check(std::strlen(title) < sizeof title);
    std::string stored = std::string(page.c_str()).substr(0, AddressCapacity - 1);
    std::vector<char> storedBuffer(stored.begin(), stored.end());
    storedBuffer.push_back('\0');
    CompleteArticleAddress(storedBuffer.data(), markers[1].c_str(), address, sizeof address);
    Check(std::strlen(address) < sizeof address);
    if (PagedArticleBase(page.c_str(), markers[2].c_str(), address, sizeof address))
        Check(std::strlen(address) < sizeof address);

    Heap forecast(page, room);
    FormatForecast(forecast.p(), forecast.capacity());
    Check(forecast.Ends());
    return 0;
}
