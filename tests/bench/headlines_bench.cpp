// Cutting and cleaning the 500 headlines of a 2,000,000-byte list page, list area included.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "retrieval/headline_rules.h"
#include "retrieval/textcut.h"

namespace {

constexpr std::size_t kPage = 2000000;
constexpr int kItems = 500;

struct Level {
    char titles[HeadlinesPerLevel][TitleCapacity];
    char addresses[HeadlinesPerLevel][AddressCapacity];
};

// A portal page: a header, 500 anchors spread evenly with markup between them, a footer.
std::string ListPage() {
    const std::string filler =
        "<div class=\"ad\"><span>\x8d\x4c\x8d\x90</span><img src=\"/i.png\" width=\"1\"></div>\r\n";
    std::string page = "<html><head><title>news</title></head><body><div id=\"list\">\r\n";
    const std::size_t gap = kPage / kItems - 160;
    for (int i = 0; i < kItems; ++i) {
        std::string body;
        while (body.size() + filler.size() < gap) body += filler;
        page += body;
        page += "<li><a href=\"./news/" + std::to_string(i) +
                ".html\"><span class=\"title\">\x91\xe4\x95\x97 " + std::to_string(i) +
                "\x8d\x86: \x8b\xdf\x8a\xec\x82\xc9 &quot;\x90\xda\x8b\xdf&quot;</span><span "
                "class=\"new\">NEW</span></a></li>\r\n";
    }
    page += "</div><div id=\"footer\">";
    page.resize(kPage, ' ');
    return page;
}

void BM_CutAndCleanHeadlines(benchmark::State& state) {
    const std::string page = ListPage();
    CategoryParameterSet parameters = {};
    std::snprintf(parameters[1], ParameterCapacity, "https://portal.example/");
    std::snprintf(parameters[3], ParameterCapacity, "<div id=\"list\">");
    std::snprintf(parameters[4], ParameterCapacity, "<div id=\"footer\">");
    std::snprintf(parameters[5], ParameterCapacity, "<li><a href=\"");
    std::snprintf(parameters[6], ParameterCapacity, "\"");
    auto level = std::make_unique<Level>();
    std::vector<char> area(page.size() + 1);
    int count = 0;
    for (auto _ : state) {
        std::memcpy(area.data(), page.c_str(), page.size() + 1);
        CutBetween(area.data(), parameters[3], parameters[4]);
        count = CutHeadlines(area.data(),
                             parameters,
                             ListPage::First,
                             0,
                             FirstPageLimit,
                             level->titles,
                             level->addresses,
                             nullptr,
                             nullptr);
        benchmark::DoNotOptimize(count);
    }
    if (count != kItems) state.SkipWithError("not every headline was cut");
    state.counters["headlines"] = count;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kPage));
}
BENCHMARK(BM_CutAndCleanHeadlines)->Unit(benchmark::kMillisecond);

}  // namespace
