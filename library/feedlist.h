// The user's own feeds: the list, its file in the data folder and what has been seen of each.
//
// The file is an INI file in the category files' conventions, so that the reception reads a
// feed like any category: section "Category<id>" holds "Parameter1" (the name), "Parameter2"
// ("feed") and "Parameter3" (the feed's address); section "MyFeeds" gives the order, "Feed1" to
// "FeedN" naming the ids. Ids stay with their feed when the list is reordered, so the history and
// the favorites keep finding it.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

constexpr int FeedLimit = 500;               // ids 1..500, the category numbers
constexpr std::size_t FeedNameLimit = 200;   // bytes of a name (Shift-JIS)
constexpr std::size_t FeedAddressMax = 1000; // longer addresses are refused
constexpr std::size_t SeenLimit = 1000;      // items remembered per feed
constexpr const char* FeedSourceId = "feed"; // Parameter2 of a user's feed

struct UserFeed {
    int id = 0;
    std::string name;     // Shift-JIS
    std::string address;  // http(s)
};

struct FeedList {
    std::vector<UserFeed> feeds;  // in the user's order
};

enum class FeedAddOutcome { Added, AlreadyListed, Full, Refused };

// The index of the feed with that address, or -1.
int FindFeedByAddress(const FeedList& list, const std::string& address);
int FindFeedById(const FeedList& list, int id);

// A name as it may be stored: control characters become spaces, blanks at both ends and
// surrounding quotes go, cut to FeedNameLimit on a character boundary; empty stays empty.
std::string CleanFeedName(const std::string& name);

// Adds at the end under a free id; index receives its position. An address that is not a
// plain http(s) address, or is too long, is refused.
FeedAddOutcome AddUserFeed(FeedList& list, const std::string& name, const std::string& address,
                           int* index);
// Moves entry index one place up (step -1) or down (+1); false at either end.
bool MoveUserFeed(FeedList& list, int index, int step);
void RemoveUserFeed(FeedList& list, int index);

// The file's text (Shift-JIS, CR LF lines).
std::string FormatFeedFile(const FeedList& list);

struct FeedFileReading {
    FeedList list;
    bool damaged = false;  // something in the file could not be read as it was written
};
// Reads what can be read: every section with a usable address is kept, in the file's order
// where the order names it and after those otherwise; lines, ids and duplicates that make no
// sense are passed over (and make the reading damaged).
FeedFileReading ParseFeedFile(const char* text, std::size_t length);

// What-is-new: which of the listed item keys are not in seen, and the seen list to keep (the
// listed ones first, then the older ones, at most SeenLimit).
struct FeedNews {
    std::vector<bool> isNew;
    int newCount = 0;
    std::vector<std::string> keep;
};
FeedNews CompareWithSeen(const std::vector<std::string>& listed, const std::vector<std::string>& seen);

// A seen file: one key a line.
std::vector<std::string> ParseSeenFile(const char* text, std::size_t length);
std::string FormatSeenFile(const std::vector<std::string>& keys);
