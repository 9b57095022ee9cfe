// What the option dialogs show, apart from any window: the text of one entry of the headline
// list.
#pragma once
#include <cstddef>
#include <cstdint>

// One entry of the headline list or the scrapbook article list: "%d %s" with the 1-based
// position when numberEntries is 1, otherwise the title alone. Always terminated within
// capacity.
void FormatListEntry(char* out, size_t capacity, int position, const char* title, int32_t numberEntries);

// Room for a numbered title of up to 255 bytes.
constexpr size_t ListEntryCapacity = 272;
