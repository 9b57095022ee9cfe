#include "retrieval/sources.h"

#include <cstring>

#include "retrieval/sjis.h"

namespace {

constexpr int SourceAddressCapacity = 256;

struct SourceEntry {
    const char* key;
    const char* shipped;
};

// Keys of the "[Sources]" section of the main menu file, and the addresses the program ships
// with. The category files name the same addresses in their Parameter2.
const SourceEntry Entries[SourceCount] = {
    {"YahooNews",           "https://news.yahoo.co.jp/"     },
    {"YahooNewsDoubled",    "https://news.yahoo.co.jp//"    },
    {"YahooNewsHost",       "https://news.yahoo.co.jp"      },
    {"Sankei",              "https://www.sankei.com/"       },
    {"AllAbout",            "https://allabout.co.jp/"       },
    {"NikkanGendai",        "https://www.nikkan-gendai.com/"},
    {"Natalie",             "https://natalie.mu/"           },
    {"AnimateTimesDoubled", "https://www.animatetimes.com//"},
    {"DailySports",         "https://www.daily.co.jp/"      },
    {"Weather",             "https://tenki.jp/"             },
    {"GooNews",             "news.goo.ne.jp"                },
    {"AsahiRssHost",        "https://www.asahi.com"         },
    {"MakerSite",           "https://morvick.invalid"       },
};

// Written once at start-up, before any reception runs; read by every thread afterwards.
char Configured[SourceCount][SourceAddressCapacity];
bool Loaded[SourceCount];

bool Valid(SourceId id) { return id >= 0 && id < SourceCount; }

}  // namespace

const char* SourceAddress(SourceId id) {
    if (!Valid(id)) return "";
    return Loaded[id] ? Configured[id] : Entries[id].shipped;
}

bool IsSource(const char* parameter, SourceId id) {
    return parameter && Valid(id) && std::strcmp(parameter, SourceAddress(id)) == 0;
}

const char* SourceKey(SourceId id) { return Valid(id) ? Entries[id].key : ""; }

const char* ShippedSourceAddress(SourceId id) { return Valid(id) ? Entries[id].shipped : ""; }

void SetSourceAddress(SourceId id, const char* address) {
    if (!Valid(id)) return;
    if (!address || !*address) {
        Loaded[id] = false;  // an empty value keeps the shipped address
        return;
    }
    SjisCopyCut(Configured[id], SourceAddressCapacity, address, std::strlen(address));
    Loaded[id] = true;
}
