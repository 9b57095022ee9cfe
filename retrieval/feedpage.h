// Received feeds and pages on the Win32 side: their code page, and the items of a feed as a
// headline list.
#pragma once
#include <cstddef>
#include <vector>

#include "retrieval/feed.h"
#include "retrieval/headlines.h"

// Brings a received feed or page (NUL-terminated in a buffer of capacity bytes) into Shift-JIS
// from the encoding its bytes or its declaration give, its references to characters beyond
// ASCII decoded. False when it could not be converted.
bool ConvertFeedPage(char* page, std::size_t capacity);

// A web page (an article of a feed) into Shift-JIS from its declared or detected encoding, its
// character references decoded as for every page.
void ConvertWebPage(char* page, std::size_t capacity);

// What a received address holds: a feed, or else the feed links of a web page.
struct FeedPageReading {
    ParsedFeed feed;
    std::vector<FeedLink> links;  // only when feed.isFeed is false
};
FeedPageReading ReadFeedPage(char* page, std::size_t capacity, const char* address);

// The feed's items as headlines: bounded copies into titles and addresses from slot 0, at most
// limit; an item without a title is listed under its address. Returns the count.
int StoreFeedItems(const ParsedFeed& feed, char (*titles)[TitleCapacity], char (*addresses)[AddressCapacity],
                   int limit);
