#include "library/shortcuts.h"

#include <cstdio>
#include <cstring>

#include "retrieval/sources.h"

namespace {

const char* const Channels[3] = {"r1", "r2", "fm"};
const char* const Areas[8] = {
    "sapporo", "sendai", "tokyo", "nagoya", "osaka", "hiroshima", "matsuyama", "fukuoka"};

// In the order of the addresses: channel by channel, each in the eight areas.
// clang-format off
const char* const Labels[RadioStationCount] = {
    "ラジオ第1 札幌", "ラジオ第1 仙台", "ラジオ第1 東京", "ラジオ第1 名古屋",
    "ラジオ第1 大阪", "ラジオ第1 広島", "ラジオ第1 松山", "ラジオ第1 福岡",
    "ラジオ第2 札幌", "ラジオ第2 仙台", "ラジオ第2 東京", "ラジオ第2 名古屋",
    "ラジオ第2 大阪", "ラジオ第2 広島", "ラジオ第2 松山", "ラジオ第2 福岡",
    "NHK-FM 札幌", "NHK-FM 仙台", "NHK-FM 東京", "NHK-FM 名古屋",
    "NHK-FM 大阪", "NHK-FM 広島", "NHK-FM 松山", "NHK-FM 福岡",
};
// clang-format on

}  // namespace

bool RadioStationAddress(int index, char* out, int capacity) {
    if (capacity < 1) return false;
    out[0] = '\0';
    if (index < 0 || index >= RadioStationCount) return false;
    int written = std::snprintf(out,
                                capacity,
                                "http://%s/netradio/player/index.html?ch=%s&area=%s",
                                RadioPlayerHost,
                                Channels[index / 8],
                                Areas[index % 8]);
    return written > 0 && written < capacity;
}

const char* RadioStationLabel(int index) {
    if (index < 0 || index >= RadioStationCount) return nullptr;
    return Labels[index];
}

int RadioLabelFor(const char* address, char* nameInOut, int capacity) {
    for (int i = 0; i < RadioStationCount; ++i) {
        char station[RadioAddressCapacity];
        if (!RadioStationAddress(i, station, sizeof station) || std::strcmp(station, address) != 0) continue;
        if (capacity > 0) std::snprintf(nameInOut, capacity, "%s", Labels[i]);
        return 1;
    }
    return 0;
}

void MakerPageAddress(const char* path, char* out, int capacity) {
    if (capacity < 1) return;
    std::snprintf(out, capacity, "%s%s", SourceAddress(SourceMakerSite), path);
}
