// マイフィード: the user's own feeds as a level of the menu list, received like categories,
// with their management, the exchange of OPML files and what is new in each.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

struct ReceptionReport;
struct FeedLink;

// The entry code of the menu entry that opens the user's feeds.
constexpr int EntryMyFeeds = 609;
// The category file name the history and the favorites keep for a user's feed.
constexpr const char* MyFeedsMenuName = "*MyFeeds";

// The category file a menu entry's name stands for: a file of the program's "News" folder, or
// the user's feeds file in the data folder.
void CategoryFilePath(const char* menuName, char* path, std::size_t capacity);

// Whether a menu or log entry's name may stand for a category file: the user's feeds, or a
// plain file name of the "News" folder. Logs live where every local user may write.
bool IsCategoryMenuName(const char* menuName);

// Activation of the entry of code 609: the feeds become the next level.
void ShowMyFeedsLevel();
// Whether MenuList shows the user's feeds.
bool MyFeedsShown();

// Enter and Delete in the list of feeds.
void EnterMyFeed();
void DeleteSelectedFeed();

// The commands, from the feeds list (the command table checks).
bool AddFeed();
bool RenameFeed();
bool DeleteFeed();
bool MoveFeedUp();
bool MoveFeedDown();
bool ImportFeeds();
bool ExportFeeds();

// A received headline list: for one of the user's feeds marks the new headlines, remembers what
// was listed and announces the count with the new ones; false for any other category (its
// count is announced as always).
bool AnnounceFeedNews(const ReceptionReport& report);

// The dialogs (app/lists/feeddialogs.cpp). Each returns false when cancelled.
bool AskFeedAddress(std::string& address);
bool AskFeedName(const char* caption, std::string& name);
// The index chosen among the links, or -1.
int ChooseFeedLink(const std::vector<FeedLink>& links);
