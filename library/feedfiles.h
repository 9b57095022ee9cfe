// The user's feeds on disk: "MyFeeds.ini" in the data folder and the seen items of each feed
// in "MyFeeds\seen<id>.txt". Every file is written whole to a temporary file and then put in
// place, so a crash or a full disk leaves the previous version.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "library/feedlist.h"

// The path of the feeds file.
void UserFeedFilePath(const char* dataFolder, char* path, std::size_t capacity);

enum class FeedFileState { Read, Missing, Damaged, Unreadable };

// Reads the list; a damaged file gives what could be read of it, and a copy of the file as it
// was is kept beside it ("MyFeeds.ini.bak") before anything is written over it.
FeedFileState LoadUserFeeds(const char* dataFolder, FeedList& list);
bool SaveUserFeeds(const char* dataFolder, const FeedList& list);

std::vector<std::string> LoadSeenItems(const char* dataFolder, int id);
bool SaveSeenItems(const char* dataFolder, int id, const std::vector<std::string>& keys);
void RemoveSeenItems(const char* dataFolder, int id);

// Whole files for the exchange with other programs. A file of more than limit bytes is not
// read (false).
bool ReadWholeFile(const char* path, std::string& text, std::size_t limit);
bool ReplaceFileText(const char* path, const std::string& text);
