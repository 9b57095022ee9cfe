// Reading news feeds and finding them in pages.
#include "retrieval/feed.h"

FeedEncoding DetectFeedEncoding(const char*, std::size_t, const char*) { return FeedEncoding::Utf8; }

ParsedFeed ParseFeed(const char*, std::size_t, const char*, std::size_t) { return ParsedFeed(); }

std::vector<FeedLink> FindFeedLinks(const char*, std::size_t, const char*) { return {}; }

std::string ResolveAddress(const char*, const char*) { return std::string(); }
