// Reading a 1,000,000-byte RSS 2.0 feed of 1,000 items (Shift-JIS), as a news site's full
// feed arrives: titles with references, descriptions with escaped markup, CDATA bodies.
#include <benchmark/benchmark.h>

#include <string>

#include "retrieval/feed.h"

namespace {

constexpr std::size_t kFeed = 1000000;
constexpr int kItems = 1000;

std::string Feed() {
    std::string feed =
        "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n<rss version=\"2.0\" "
        "xmlns:content=\"http://purl.org/rss/1.0/modules/content/\">\r\n<channel>\r\n"
        "<title>\x83\x6a\x83\x85\x81\x5b\x83\x58</title><link>https://news.example/</link>\r\n";
    const std::string body =
        "\x91\xe4\x95\x97\x82\xcc\x89\x65\x8b\xbf\x82\xc5\x8b\xdf\x8a\xec\x82\xc9 &lt;b&gt;"
        "\x90\xda\x8b\xdf&lt;/b&gt; &amp; \x92\x8d\x88\xd3\x81\x42 ";
    const std::size_t gap = kFeed / kItems - 245;
    for (int i = 0; i < kItems; ++i) {
        std::string description;
        while (description.size() + body.size() < gap / 2) description += body;
        std::string content;
        while (content.size() + body.size() < gap / 2) content += body;
        const std::string n = std::to_string(i);
        feed += "<item>\r\n<title>\x91\xe4\x95\x97 " + n + "\x8d\x86 &quot;\x90\xda\x8b\xdf&quot; &#x3042;</title>\r\n"
                "<link>https://news.example/articles/2026/12/09/" + n + ".html</link>\r\n"
                "<guid isPermaLink=\"true\">https://news.example/articles/2026/12/09/" + n + ".html</guid>\r\n"
                "<description>" + description + "</description>\r\n"
                "<content:encoded><![CDATA[<p>" + content + "</p>]]></content:encoded>\r\n"
                "<pubDate>Wed, 09 Dec 2026 02:00:00 +0900</pubDate>\r\n</item>\r\n";
    }
    feed += "</channel>\r\n</rss>\r\n";
    return feed;
}

void BM_ParseFeed(benchmark::State& state) {
    const std::string feed = Feed();
    std::size_t items = 0;
    for (auto _ : state) {
        ParsedFeed parsed = ParseFeed(feed.data(), feed.size(), "https://news.example/rss.xml", kItems);
        items = parsed.items.size();
        benchmark::DoNotOptimize(parsed);
    }
    if (items != kItems) state.SkipWithError("not every item read");
    state.counters["bytes"] = static_cast<double>(feed.size());
    state.counters["items"] = static_cast<double>(items);
}
BENCHMARK(BM_ParseFeed)->Unit(benchmark::kMillisecond);

}  // namespace
