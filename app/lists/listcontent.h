// What MenuList and HeadlineList show, and what Enter, Delete, the position and where-am-I
// mean for each kind of content. The views and the commands ask here instead of testing
// screen state themselves.
//
// Adding a content kind (the history, the favorites, the scrapbook folders and articles are
// named already, with the behaviour of today as their placeholder):
//   1. name it in app/state/listshown.h and fill its row in the table in listcontent.cpp: what Enter, Delete, the position (Ctrl+7)
//      and where-am-I (Alt+1) do, and what an entry is rebuilt from when the numbering option
//      changes;
//   2. when the list has been filled with it, call ShowListContent(kind);
//   3. where a command needs to know, ask MenuListContent() / HeadlineListContent().
#pragma once
#include <windows.h>

#include "app/state/listshown.h"


// One row per kind.
struct ListContentKind {
    ListContent content;
    bool inMenuList;                       // shown in MenuList (else in HeadlineList; the
                                           // same rule as app/state/listshown.cpp)
    void (*enter)();                       // Enter and Right on the list
    void (*remove)();                      // Delete on the list; null: the key is not taken
    void (*position)(HWND list);           // Ctrl+7 on the list; null: "N項目中M項目目"
    void (*whereAmI)();                    // Alt+1 on the list
    const char* (*entryTitle)(int index);  // the title entry index is rebuilt from; null: the
                                           // entries are left as they are
};

// The content's behaviour for the list given (MenuList or HeadlineList).
void EnterInList(HWND list);
bool DeleteInList(HWND list);  // false when the content takes no Delete
void AnnouncePositionInList(HWND list);
void AnnounceWhereAmIInList(HWND list);

// HeadlineList shows the headlines of the category received last again. Back from a scrapbook
// folder the list is refilled with them, so that no article name is left to open a headline.
void ShowReceivedHeadlines();

// Fills HeadlineList with the headlines in the store (level 0), numbered as Settings.NumberEntries
// says unless they are radio stations, the first selected.
void ListStoredHeadlines(bool radio);

// Rewrites every entry of HeadlineList in place, numbered or not as Settings.NumberEntries
// says, keeping the selection. A content without entryTitle is left alone.
void RebuildHeadlineList();
