// The repeating text operations on a page of 2,000,000 bytes, and the
// restart-from-the-start models beside them on the same page shrunk to
// 100,000 bytes, where they still finish.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "../native/textcut_literal.h"
#include "retrieval/textcut.h"

namespace {

constexpr std::size_t kPage = 2000000, kShrunk = 100000;

std::string Page(std::size_t size) {
    const std::string unit =
        "<div class=\"item\"><a href=\"/news/a.html\">\x83\x5e\x83\x75 12:30 "
        "&nbsp;</a></div>\r\n\r\n\n\n<p>text  of   the    story</p>\r\n";
    std::string page;
    while (page.size() + unit.size() <= size) page += unit;
    return page;
}

enum Op {
    kStripTags,
    kCollapseBlankLines,
    kDeleteSpacePairs,
    kReplaceAllDelete,  // "&nbsp;" by nothing
    kReplaceAllGrow,    // ':' by the two-byte full-width colon
    kReplaceAllChain,   // "\n\n\n" by "\n\n", whose result is searched again
};

// Runs op on text in place (ours) and returns a rough count of changes made.
int RunOurs(Op op, char* text, std::size_t capacity) {
    const std::size_t before = std::strlen(text);
    switch (op) {
        case kStripTags:
            StripTags(text);
            break;
        case kCollapseBlankLines:
            CollapseBlankLines(text);
            break;
        case kDeleteSpacePairs:
            DeleteSpacePairs(text);
            break;
        case kReplaceAllDelete:
            ReplaceAll(text, capacity, "&nbsp;", "");
            break;
        case kReplaceAllGrow:
            ReplaceAll(text, capacity, ":", "\x81\x46");
            return static_cast<int>(std::strlen(text) - before);
        case kReplaceAllChain:
            ReplaceAll(text, capacity, "\n\n\n", "\n\n");
            break;
    }
    return static_cast<int>(before - std::strlen(text));
}

void RunLiteral(Op op, std::string& text, std::size_t capacity) {
    switch (op) {
        case kStripTags:
            literal::StripTags(text);
            break;
        case kCollapseBlankLines:
            literal::CollapseBlankLines(text);
            break;
        case kDeleteSpacePairs:
            literal::DeleteSpacePairs(text);
            break;
        case kReplaceAllDelete:
            literal::ReplaceAll(text, capacity, "&nbsp;", "");
            break;
        case kReplaceAllGrow:
            literal::ReplaceAll(text, capacity, ":", "\x81\x46");
            break;
        case kReplaceAllChain:
            literal::ReplaceAll(text, capacity, "\n\n\n", "\n\n");
            break;
    }
}

void Ours(benchmark::State& state, Op op) {
    const std::string page = Page(static_cast<std::size_t>(state.range(0)));
    std::vector<char> buffer(page.size() * 2 + 1);
    int changes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(buffer.data(), page.c_str(), page.size() + 1);
        state.ResumeTiming();
        changes = RunOurs(op, buffer.data(), buffer.size());
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["bytes_removed_or_added"] = changes;
}

void Literal(benchmark::State& state, Op op) {
    const std::string page = Page(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        std::string text = page;
        state.ResumeTiming();
        RunLiteral(op, text, page.size() * 2 + 1);
        benchmark::DoNotOptimize(text.data());
    }
}

#define TEXTCUT_BENCH(op)                                                                        \
    BENCHMARK_CAPTURE(Ours, op, k##op)->Arg(kPage)->Arg(kShrunk)->Unit(benchmark::kMillisecond); \
    BENCHMARK_CAPTURE(Literal, op, k##op)->Arg(kShrunk)->Unit(benchmark::kMillisecond)

TEXTCUT_BENCH(StripTags);
TEXTCUT_BENCH(CollapseBlankLines);
TEXTCUT_BENCH(DeleteSpacePairs);
TEXTCUT_BENCH(ReplaceAllDelete);
TEXTCUT_BENCH(ReplaceAllGrow);
TEXTCUT_BENCH(ReplaceAllChain);

}  // namespace
