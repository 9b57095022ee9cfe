// Cutting a received list page into headlines: the items found between the category's
// markers, their addresses and titles cleaned, ready for the headline list. No window, no
// network: the page comes in, the items go out into the caller's arrays.
#pragma once
#include <cstddef>

#include "retrieval/headlines.h"

using CategoryParameterSet = char[ParameterCount][ParameterCapacity];

// Parameter n (1..20) of a category.
inline const char* CategoryParameter(const CategoryParameterSet& parameters, int n) {
    return parameters[n - 1];
}

// The first list page of a category, or its second page (Parameter15), which has fewer rules.
enum class ListPage { First, Second };

// Room for a field while it is cleaned; what is kept is cut to the store's capacity after.
constexpr std::size_t HeadlineFieldScratch = 8192;

constexpr int FirstPageLimit = HeadlinesPerLevel;  // 500
constexpr int SecondPageLimit = 250;
constexpr int RadioLimit = 100;

// Called with the slot of every item stored; returning false stops the cutting there (the
// item just stored counts).
using HeadlineSink = bool (*)(int slot, void* context);

// The headline rule: cuts items out of the list area one after another into titles[slot] and
// addresses[slot], for slots from firstSlot while below limit. Image-only items are dropped
// without leaving a slot. Returns the slot after the last item kept (the new count).
int CutHeadlines(const char* area, const CategoryParameterSet& parameters, ListPage page, int firstSlot,
                 int limit, char (*titles)[TitleCapacity], char (*addresses)[AddressCapacity],
                 HeadlineSink sink, void* context);

// The radio rule: stations with their stream addresses, uncleaned, at most limit of them.
int CutRadioList(const char* area, const CategoryParameterSet& parameters, int limit,
                 char (*titles)[TitleCapacity], char (*addresses)[AddressCapacity], HeadlineSink sink,
                 void* context);

// The cleaning steps, in their order, on a field in a buffer of capacity bytes.
void CleanHeadlineAddress(char* address, std::size_t capacity, const CategoryParameterSet& parameters,
                          ListPage page);
void CleanHeadlineTitle(char* title, std::size_t capacity, const CategoryParameterSet& parameters,
                        ListPage page);

// Whether an item is dropped: its cleaned title begins with "<img src=\"", or the anchor was
// an image alone (the title as cut began so) and cleaning left nothing to read.
bool IsImageOnlyItem(const char* rawTitle, const char* cleanedTitle);
