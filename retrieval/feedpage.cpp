#include "retrieval/feedpage.h"

#include <cstring>
#include <string>

#include "retrieval/pagecode.h"
#include "retrieval/sjis.h"

void ConvertWebPage(char* page, std::size_t capacity) { ConvertFeedPage(page, capacity); }

bool ConvertFeedPage(char* page, std::size_t capacity) {
    // The same as a web page: the reader knows only the references to ASCII and a few marks,
    // so those to other characters are decoded here, in the feed's own code page.
    if (!page || capacity == 0) return false;
    switch (DetectFeedEncoding(page, std::strlen(page), nullptr)) {
        case FeedEncoding::Utf8:
            return ConvertReceivedPage(page, capacity, true);
        case FeedEncoding::EucJp: {
            const std::string converted = EucJpToShiftJis(page, std::strlen(page));
            SjisCopyCut(page, capacity, converted.data(), converted.size());
            break;
        }
        case FeedEncoding::ShiftJis:
            break;
    }
    return ConvertReceivedPage(page, capacity, false);
}

FeedPageReading ReadFeedPage(char* page, std::size_t capacity, const char* address) {
    FeedPageReading reading;
    ConvertFeedPage(page, capacity);
    std::size_t length = std::strlen(page);
    reading.feed = ParseFeed(page, length, address, HeadlinesPerLevel);
    if (!reading.feed.isFeed) reading.links = FindFeedLinks(page, length, address);
    return reading;
}

int StoreFeedItems(const ParsedFeed& feed, char (*titles)[TitleCapacity], char (*addresses)[AddressCapacity],
                   int limit) {
    int count = 0;
    for (const FeedItem& item : feed.items) {
        if (count >= limit) break;
        if (item.address.empty() || item.address.size() >= AddressCapacity) continue;
        const std::string& title = item.title.empty() ? item.address : item.title;
        SjisCopyCut(titles[count], TitleCapacity, title.data(), title.size());
        std::memcpy(addresses[count], item.address.c_str(), item.address.size() + 1);
        ++count;
    }
    return count;
}
