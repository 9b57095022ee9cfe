// The article text of every saved real article page, timed per page: markers where a shipped
// category fits the site, the main-text fallback otherwise, cleaning included. Each page's
// text is written once, in UTF-8, to $TAVLO_ARTICLE_TEXTS/<page>.txt (default
// ./article-texts) for the scorer; scripts/score-articles.sh runs both and prints the table.
#include <benchmark/benchmark.h>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "tests/native/real_articles.h"

namespace {

std::string OutputFolder() {
    const char* folder = std::getenv("TAVLO_ARTICLE_TEXTS");
    return folder && *folder ? folder : "article-texts";
}

void ArticleText(benchmark::State& state, const std::string& name, const std::string& received) {
    std::vector<char> buffer(ArticlePageCapacity);
    LinkLevel links;
    int found = 0;
    for (auto _ : state) {
        std::memcpy(buffer.data(), received.c_str(), received.size() + 1);
        found = ExtractReceivedArticle(buffer.data(), buffer.size(), name, &links);
        benchmark::DoNotOptimize(found);
    }
    const std::string text = found ? std::string(buffer.data()) : std::string();
    std::ofstream(OutputFolder() + "/" + name + ".txt", std::ios::binary) << SjisToUtf8(text);
    state.counters["KB"] = static_cast<double>(received.size()) / 1024.0;
    state.counters["found"] = found;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(received.size()));
}

// One benchmark per saved page, registered before the benchmark library runs.
int RegisterPages() {
    const std::string folder = RealArticlesFolder() + "/pages";
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string file = entry->d_name;
            if (file.size() > 5 && file.compare(file.size() - 5, 5, ".html") == 0)
                names.push_back(file.substr(0, file.size() - 5));
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    if (!names.empty()) mkdir(OutputFolder().c_str(), 0755);
    for (const std::string& name : names) {
        std::string utf8;
        if (!ReadFile(folder + "/" + name + ".html", &utf8)) continue;
        const std::string received = ReceivedPage(utf8);
        benchmark::RegisterBenchmark(("BM_ArticleText/" + name).c_str(), ArticleText, name, received)
            ->Unit(benchmark::kMillisecond);
    }
    return static_cast<int>(names.size());
}

const int RegisteredPages = RegisterPages();

}  // namespace
