// What the option dialogs store and show, apart from any window: the index a drop-down list
// stands for, and the text of one entry of the headline list.
#pragma once
#include <cstddef>
#include <cstdint>

// The index a drop-down list stands for when OK is pressed. A list with no selection (it was
// opened with an index outside its entries) keeps the value it was opened with, so that OK
// never stores "no selection" in its place.
int32_t ChosenIndex(int selection, int32_t openedWith);

// One entry of the headline list or the scrapbook article list: "%d %s" with the 1-based
// position when numberEntries is 1, otherwise the title alone. Always terminated within
// capacity.
void FormatListEntry(char* out, size_t capacity, int position, const char* title, int32_t numberEntries);

// Room for a numbered title of up to 255 bytes.
constexpr size_t ListEntryCapacity = 272;
