// Reception of a category's headline list (Win32 side). Each reception runs on a worker thread
// of its own and fills a store of its own; it reports to the window it was started for by
// posting ReceptionMessage (wParam: its ticket, lParam: a ReceptionReport that the window
// thread takes over and deletes). One started later supersedes any still running: the older
// one stops cutting, and its reports are to be dropped (IsLatestReception is false for them).
// The window thread alone changes HeadlineStore, the list and what is heard.
#pragma once
#include <windows.h>

#include "retrieval/headline_rules.h"
#include "retrieval/headlines.h"

constexpr UINT ReceptionMessage = WM_APP + 0x2A;

enum class ReceptionStage {
    Started,   // the parameters are read: the list is emptied, "…を受信" is said
    Received,  // the headlines are cut: the list is filled and the count announced
    Failed,    // the list page could not be received
};

struct ReceptionReport {
    unsigned ticket;
    ReceptionStage stage;
    CategoryParameterSet parameters;  // every stage
    bool radio = false;               // Received: a radio list (titles as they are, no numbers)
    int count = 0;                    // Received
    char titles[HeadlinesPerLevel][TitleCapacity];
    char addresses[HeadlinesPerLevel][AddressCapacity];
};

// Receives section "Category<number>" of the category file on a new thread that reports to
// notify; returns at once.
void StartHeadlineReception(HWND notify, const char* categoryFile, int number);

// Receives the category received last once more (reload); false when there is none.
bool ReloadHeadlines();

// Whether the report's reception is the one started last.
bool IsLatestReception(unsigned ticket);
