#include "retrieval/feedpage.h"

#include <cstring>

#include "retrieval/pagecode.h"
#include "retrieval/sjis.h"
#include "win/codepage.h"

bool ConvertFeedPage(char* page, std::size_t capacity) {
    if (!page || capacity == 0) return false;
    std::size_t length = std::strlen(page);
    switch (DetectFeedEncoding(page, length, nullptr)) {
        case FeedEncoding::ShiftJis:
            return true;
        case FeedEncoding::EucJp:
            return win::EucJpToShiftJisInPlace(page, capacity);
        case FeedEncoding::Utf8:
            break;
    }
    if (std::strncmp(page, "\xEF\xBB\xBF", 3) == 0) std::memmove(page, page + 3, length - 3 + 1);
    return win::Utf8ToShiftJisInPlace(page, capacity);
}

void ConvertWebPage(char* page, std::size_t capacity) {
    if (!page || capacity == 0) return;
    switch (DetectFeedEncoding(page, std::strlen(page), nullptr)) {
        case FeedEncoding::Utf8:
            ConvertReceivedPage(page, capacity, true);
            return;
        case FeedEncoding::EucJp:
            if (!win::EucJpToShiftJisInPlace(page, capacity)) return;
            break;
        case FeedEncoding::ShiftJis:
            break;
    }
    ConvertReceivedPage(page, capacity, false);
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
