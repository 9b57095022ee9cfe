// Reading and writing OPML lists of feeds.
#include "library/opml.h"

std::vector<OpmlFeed> ReadOpml(const char*, std::size_t) { return {}; }

std::string WriteOpml(const std::vector<OpmlFeed>&, const char*) { return std::string(); }
