// The received headline lists and the chain of related pages opened from them.
#pragma once
#include <cstdint>

constexpr int HeadlineLevels = 32;
constexpr int HeadlinesPerLevel = 500;
constexpr int TitleCapacity = 256;
constexpr int AddressCapacity = 1024;
constexpr int ParameterCount = 20;
constexpr int ParameterCapacity = 256;

struct HeadlineStoreData {
    char titles[HeadlineLevels][HeadlinesPerLevel][TitleCapacity];
    char addresses[HeadlineLevels][HeadlinesPerLevel][AddressCapacity];
    int32_t counts[HeadlineLevels];
    char pageAddresses[HeadlineLevels][AddressCapacity];
    char pageTitles[HeadlineLevels][TitleCapacity];
};

// Written and read on the window thread only.
extern HeadlineStoreData HeadlineStore;

// 0 after a headline reception, 1 while an article is shown, k + 1 on related page k.
extern volatile int32_t PageDepth;

// The twenty "Parameter%d" texts of the category received last; CategoryParameters[0] is
// Parameter1, the category's display name.
extern char CategoryParameters[ParameterCount][ParameterCapacity];
