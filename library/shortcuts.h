// Pages the program opens outside itself: the net-radio player pages, whose table gives radio
// entries their names in the history and the favorites, and the pages of the maker's site.
#pragma once

constexpr int RadioStationCount = 24;  // three channels in eight areas
constexpr int RadioAddressCapacity = 128;
constexpr int RadioLabelCapacity = 32;

// The host of the radio player.
constexpr char RadioPlayerHost[] = "www3.nhk.or.jp";

// The one radio page that is opened with Internet Explorer instead of the default browser.
constexpr char SpecialRadioAddress[] = "http://radiko.jp/";

// Paths of the maker's pages.
constexpr char ChangeHistoryPath[] = "/tavlo/ver11/history.html";
constexpr char ProductPagePath[] = "/tavlo/";
constexpr char MakerTopPath[] = "/";
constexpr char InquiryPath[] = "/inquiry/";

// The player page of station index 0..23 (channels "r1", "r2", "fm", each in the areas
// "sapporo" to "fukuoka"): "http://<host>/netradio/player/index.html?ch=<ch>&area=<area>".
// Returns false for an index out of range (out is then empty).
bool RadioStationAddress(int index, char* out, int capacity);

// The label of station index 0..23, such as "NHK-FM 大阪"; nullptr out of range.
const char* RadioStationLabel(int index);

// When address is one of the stations' pages (exact comparison), copies its label into
// nameInOut (a buffer of capacity bytes) and returns 1; otherwise leaves it and returns 0.
int RadioLabelFor(const char* address, char* nameInOut, int capacity);

// The configured address of the maker's site (SourceMakerSite, as the update check uses)
// followed by path.
void MakerPageAddress(const char* path, char* out, int capacity);
