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

extern HeadlineStoreData HeadlineStore;

// 0 after a headline reception, 1 while an article is shown, k + 1 on related page k.
extern volatile int32_t PageDepth;

// The twenty "Parameter%d" texts of the category received last; CategoryParameters[0] is
// Parameter1, the category's display name.
extern char CategoryParameters[ParameterCount][ParameterCapacity];

// Reception of a category's headline list (Win32 side). Each reception runs on a thread of its
// own; one started later supersedes any still running, which then stops without touching the
// store, the list or the speech again.

// On the window thread: receives the category of the entry remembered at the current menu
// level (MenuStack), on a new thread, and returns at once.
void StartHeadlineReception();

// Receives the category received last once more (reload); false when there is none.
bool ReloadHeadlines();

// The second list page of the current category: its items are added from list position
// firstIndex on (while below 250). Returns 1, or 0 when the page was not received.
int ReceiveMoreHeadlines(const char* address, int firstIndex);
