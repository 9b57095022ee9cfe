// The menu levels shown in MenuList, and the rules on them that need no window.
#pragma once
#include <cstdint>

constexpr int MenuLevelCount = 5;
constexpr int MenuEntryCount = 50;
constexpr int MenuTextCapacity = 261;

struct MenuStackData {
    int32_t MenuLevel;                      // -1 before the top menu is loaded, then 0..4
    int32_t MenuSelection[MenuLevelCount];  // remembered selection of each level, -1 none
    char ListText[MenuLevelCount][MenuEntryCount][MenuTextCapacity];
    char MenuName[MenuLevelCount][MenuEntryCount][MenuTextCapacity];
    int32_t Number[MenuLevelCount][MenuEntryCount];  // EntryCode
};

// Entry codes of menu entries.
constexpr int EntryPrefectureDialog = 501;
constexpr int EntryWebPage = 601;
constexpr int EntryHistory = 603;
constexpr int EntryFavorites = 604;
constexpr int EntryScrapbook = 606;
constexpr int EntryScrapFolder = 607;

// Top-menu positions the program marks its screens by (MenuSelection[0] while level 1 shows).
constexpr int TopHistory = 1;
constexpr int TopCategories = 2;
constexpr int TopLocalNews = 3;
constexpr int TopFavorites = 4;
constexpr int TopScrapFolders = 5;

// Entries shown of a level: from slot 0 up to the first empty text, at most 50.
int VisibleEntryCount(const MenuStackData& stack, int level);

// An integer as the profile functions read it: optional sign, leading decimal digits;
// anything else reads as 0.
int32_t ParseProfileInt(const char* text);

// The "where am I" text for MenuList at the current level (Shift-JIS), into out.
void DescribeMenuPosition(const MenuStackData& stack, char* out, int capacity);
