// Drives what the program makes of the contents of its own files, which anyone may have
// edited: the history and favorites lists with gaps, duplicates and over-long texts, the menu
// levels and their numbers, the source addresses of the main menu file, the category's source
// identifiers and list addresses, the radio entries, the addresses handed to the browser and
// the maker's version file. The profile functions that read the files are Win32; what they
// give back (texts cut to their buffers, numbers as written) is fed in here.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

#include "app/state/menustack.h"
#include "library/receptionlog.h"
#include "library/shortcuts.h"
#include "library/webaddress.h"
#include "retrieval/article_rules.h"
#include "retrieval/sources.h"
#include "retrieval/updatecheck.h"

namespace {

// Names the broken rule before the fuzzer reports the input.
#define Check(ok) \
    ((ok) ? (void)0 : (std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #ok), std::abort()))

bool Terminated(const char* field, std::size_t capacity) { return std::memchr(field, '\0', capacity) != nullptr; }

std::string Text(FuzzedDataProvider& in, std::size_t most) {
    std::string s = in.ConsumeRandomLengthString(most);
    return std::string(s.c_str());
}

int CountNamed(const ReceptionLog& log, const char* name) {
    int n = 0;
    for (int i = 0; i < LogCapacity; ++i) n += std::strcmp(log.FileName[i], name) == 0;
    return n;
}

int CountEntry(const ReceptionLog& log, const char* path, const char* name) {
    int n = 0;
    for (int i = 0; i < LogCapacity; ++i)
        n += std::strcmp(log.FilePath[i], path) == 0 && std::strcmp(log.FileName[i], name) == 0;
    return n;
}

void CheckLog(ReceptionLog& log, FuzzedDataProvider& in) {
    ClearLogEntries(log);
    // As the file gave them: any position, empty ones in between, names repeated.
    const int filled = in.ConsumeIntegralInRange<int>(0, LogCapacity);
    for (int k = 0; k < filled; ++k) {
        const int position = in.ConsumeIntegralInRange<int>(-1, LogCapacity);
        const std::string path = Text(in, 300), name = Text(in, 300);
        SetLogEntry(log, position, path.c_str(), name.c_str(), in.ConsumeIntegral<int32_t>());
    }
    const int operations = in.ConsumeIntegralInRange<int>(0, 8);
    for (int k = 0; k < operations; ++k) {
        const std::string path = Text(in, 300), name = Text(in, 300);
        char cutName[LogTextCapacity], cutPath[LogTextCapacity];
        std::snprintf(cutName, sizeof cutName, "%s", name.c_str());
        std::snprintf(cutPath, sizeof cutPath, "%s", path.c_str());
        if (in.ConsumeBool()) {
            const int before = CountNamed(log, cutName);
            const int32_t number = in.ConsumeIntegral<int32_t>();
            PutLogEntryOnTop(log, path.c_str(), name.c_str(), number);
            Check(std::strcmp(log.FileName[0], cutName) == 0 && std::strcmp(log.FilePath[0], cutPath) == 0 &&
                  log.Number[0] == number);
            Check(CountNamed(log, cutName) <= (before > 0 ? before : 1));
        } else {
            const int before = CountEntry(log, path.c_str(), name.c_str());
            const bool removed = RemoveLogEntryNamed(log, path.c_str(), name.c_str());
            Check(removed == (before > 0 && path[0] != '\0'));
            if (removed) Check(CountEntry(log, path.c_str(), name.c_str()) == before - 1);
        }
        for (int i = 0; i < LogCapacity; ++i)
            Check(Terminated(log.FilePath[i], LogTextCapacity) && Terminated(log.FileName[i], LogTextCapacity));
        const int used = UsedLogEntries(log);
        Check(used >= 0 && used <= LogCapacity && LogIsFull(log) == (log.FilePath[LogCapacity - 1][0] != '\0'));
        LogHasName(log, cutName);
    }
}

void CheckMenu(MenuStackData& stack, FuzzedDataProvider& in) {
    stack.MenuLevel = in.ConsumeIntegralInRange<int32_t>(-2, MenuLevelCount + 1);
    for (int level = 0; level < MenuLevelCount; ++level) {
        stack.MenuSelection[level] = in.ConsumeIntegralInRange<int32_t>(-2, MenuEntryCount + 1);
        const int entries = in.ConsumeIntegralInRange<int>(0, 3);
        for (int n = 0; n < MenuEntryCount; ++n) stack.ListText[level][n][0] = '\0';
        for (int k = 0; k < entries; ++k) {
            const int n = in.ConsumeIntegralInRange<int>(0, MenuEntryCount - 1);
            std::snprintf(stack.ListText[level][n], MenuTextCapacity, "%s", Text(in, 300).c_str());
            stack.Number[level][n] = ParseProfileInt(Text(in, 24).c_str());
        }
        const int visible = VisibleEntryCount(stack, level);
        Check(visible >= 0 && visible <= MenuEntryCount);
    }
    Check(VisibleEntryCount(stack, -1) == 0 && VisibleEntryCount(stack, MenuLevelCount) == 0);
    std::vector<char> out(in.ConsumeIntegralInRange<std::size_t>(0, 3 * MenuTextCapacity + 8));
    DescribeMenuPosition(stack, out.data(), static_cast<int>(out.size()));
    if (!out.empty()) Check(Terminated(out.data(), out.size()));
}

void CheckSources(FuzzedDataProvider& in) {
    const SourceId id = static_cast<SourceId>(in.ConsumeIntegralInRange<int>(0, SourceCount - 1));
    const std::string address = Text(in, 300);
    SetSourceAddress(id, address.c_str());
    for (int s = 0; s < SourceCount; ++s)
        Check(std::strlen(SourceAddress(static_cast<SourceId>(s))) < 256);
    const std::string parameter = Text(in, 300);
    ClassifyArticleSource(parameter.c_str());
    IsAsahiRssFeed(parameter.c_str(), address.c_str());

    char name[RadioLabelCapacity] = "";
    const int capacity = in.ConsumeIntegralInRange<int>(0, RadioLabelCapacity);
    if (RadioLabelFor(parameter.c_str(), name, capacity)) Check(Terminated(name, sizeof name));

    if (IsWebAddress(parameter.c_str())) {
        Check(strncasecmp(parameter.c_str(), "http://", 7) == 0 || strncasecmp(parameter.c_str(), "https://", 8) == 0);
        for (unsigned char c : parameter) Check(c >= 0x20 && c != 0x7F);
    }

    // The version file: only its first bytes count, however long or short it is.
    const std::string version = Text(in, 16);
    const int release = ReleaseNumberOf(version.c_str());
    Check(release > -10000 && release < 10000);
    char buffer[VersionFileCapacity];
    VersionFileAddress(buffer, 1 + static_cast<std::size_t>(in.ConsumeIntegralInRange<int>(0, 300)) % sizeof buffer);
    Check(Terminated(buffer, sizeof buffer));
    SetSourceAddress(id, "");  // the shipped address again for the next input
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ReceptionLog* log = new ReceptionLog();
    static MenuStackData* stack = new MenuStackData();
    FuzzedDataProvider in(data, size);
    switch (in.ConsumeIntegralInRange<int>(0, 2)) {
        case 0: CheckLog(*log, in); break;
        case 1: CheckMenu(*stack, in); break;
        default: CheckSources(in); break;
    }
    return 0;
}
