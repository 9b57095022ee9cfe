// The screen model: activation of entries, the ways back, the jump commands and the
// announcements of where the user is.
#pragma once
#include <windows.h>

#include "app/state/shell.h"

int ActivateEntry(int source);

// Enter on MenuList showing a menu level, and on HeadlineList showing headlines (see
// app/lists/listcontent.h).
void ActivateMenuEntry();
// Receives the category of menu entry p of level and adds it to the history.
void ReceiveCategoryEntry(int level, int p);
void OpenSelectedHeadline();

void GoBackInMenu();
void GoBackInBody();
void DeleteLogEntry();

// Jump and focus commands; each returns false when it declines (the command is then refused).
bool MoveToLocalNews();       // 500
bool ShowMenuListView();      // 501
bool BackToTopOrArticle();    // 527
bool BackOneStep();           // 526
bool NextView();              // 572
bool PreviousView();          // 573
bool ViewBack();              // 575
bool ViewForward();           // 576
bool PreviousHeadline();      // 521
bool NextHeadline();          // 522
bool AnnounceListPosition();  // 587 in the lists
bool AnnounceWhereAmI();      // 591
bool AnnounceDepth();         // 597

// Start actions 1 to 3 need the logs; other values show no view.
void RunLogStartAction(int startAction);

// Hands in what an action code of a menu definition file entry carries out (the command
// table's, above this room); the main window does so when it is created.
void SetMenuFileActions(void (*dispatch)(int code));
