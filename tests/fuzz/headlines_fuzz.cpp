// Cuts hostile list pages with hostile category markers under every source rule, on both
// list pages, and checks what lands in the store: bounded, terminated, cleaned, in order.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "retrieval/headline_rules.h"
#include "retrieval/sources.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

struct Level {
    char titles[HeadlinesPerLevel][TitleCapacity];
    char addresses[HeadlinesPerLevel][AddressCapacity];
};

const char* const Sources[] = {"rss", "radio", "https://portal.example/", "Y", "S", "A", "G", "N"};

struct Sunk {
    int next;
};

bool Terminated(const char* field, std::size_t capacity) {
    return std::memchr(field, '\0', capacity) != nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool configured = false;
    if (!configured) {
        SetSourceAddress(SourceYahooNews, "Y");
        SetSourceAddress(SourceSankei, "S");
        SetSourceAddress(SourceAllAbout, "A");
        SetSourceAddress(SourceNikkanGendai, "G");
        SetSourceAddress(SourceNatalie, "N");
        configured = true;
    }
    static Level* level = new Level;
    FuzzedDataProvider in(data, size);
    CategoryParameterSet parameters = {};
    std::snprintf(parameters[1], ParameterCapacity, "%s", Sources[in.ConsumeIntegralInRange<int>(0, 7)]);
    if (in.ConsumeBool()) std::snprintf(parameters[4], ParameterCapacity, "%s", "<div class=\"lnav\">");
    for (int n : {6, 7, 8, 9, 17, 18}) {
        std::string marker = in.ConsumeRandomLengthString(6);
        std::snprintf(parameters[n - 1], ParameterCapacity, "%s", marker.c_str());
    }
    const ListPage page = in.ConsumeBool() ? ListPage::First : ListPage::Second;
    const int first = in.ConsumeIntegralInRange<int>(0, 260);
    const std::string area = in.ConsumeRemainingBytesAsString();

    std::memset(level, 0x7f, sizeof *level);  // stale bytes, unterminated
    Sunk sunk{first};
    const HeadlineSink sink = [](int slot, void* context) {
        Sunk& s = *static_cast<Sunk*>(context);
        Check(slot == s.next++);
        return true;
    };
    if (std::strcmp(parameters[1], "radio") == 0) {
        sunk.next = 0;
        const int count =
            CutRadioList(area.c_str(), parameters, RadioLimit, level->titles, level->addresses, sink, &sunk);
        Check(count >= 0 && count <= RadioLimit && count == sunk.next);
        for (int i = 0; i < count; ++i)
            Check(Terminated(level->titles[i], TitleCapacity) &&
                  Terminated(level->addresses[i], AddressCapacity));
        return 0;
    }
    const int limit = page == ListPage::First ? FirstPageLimit : SecondPageLimit;
    const int count = CutHeadlines(
        area.c_str(), parameters, page, first, limit, level->titles, level->addresses, sink, &sunk);
    Check(count == sunk.next);
    Check(count == first || count <= limit);
    for (int i = first; i < count; ++i) {
        Check(Terminated(level->titles[i], TitleCapacity) &&
              Terminated(level->addresses[i], AddressCapacity));
        Check(std::strchr(level->titles[i], ' ') == nullptr);  // titles keep no ASCII space
        Check(std::strncmp(level->titles[i], "<img src=\"", 10) != 0);
    }
    return 0;
}
