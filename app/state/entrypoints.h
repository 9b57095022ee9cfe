// The commands whose behaviour lives with another part of the program: one named entry point
// each, called from the command table (app/window/commands.cpp) once the table's rules for reading,
// focus and state have let the command through. Each is defined in its part's own file and
// returns false when it refuses the command in the state at hand (the command then goes to the
// default window procedure), true when it has handled it.
#pragma once

// Net radio, web shortcuts, help and the recording folder.
bool OpenRecordingFolder();  // 503, also a menu-file action
bool OpenPageInBrowser();    // 504 (not while the body shows a scrapbook text; the table checks)
bool OpenManual();           // 561
bool OpenCommandList();      // 562
bool OpenChangeHistory();    // 563
bool ShowVersionInfo();      // 564
bool OpenProductPage();      // 566
bool OpenAuthorSite();       // 567
bool OpenInquiryForm();      // 568

// History and favorites.
bool RegisterFavorite();  // 534 (MenuLevel 1 or more and top entry 3 or less; the table checks)
bool ShowFavorites();     // 535
bool MoveToHistory();     // 550

// Related links.
bool OpenRelatedLinkList();  // 523 (a page shown and not a scrapbook text; the table checks)
// 509 on a related page: receives the page shown again and shows it one level deeper, as
// opening a related link does. Returns 1 when a page was shown (the reload then reads it on).
int ReloadRelatedPage();

// Scrapbook.
bool SaveToScrapbook();       // 531 (a page shown and not a scrapbook text; the table checks)
bool GoToDefaultScrapbook();  // 532 (not while a scrapbook text is shown; the table checks)
bool DeleteScrapArticle();    // 533 (in the scrapbook article list; the table checks)
bool GoToScrapFolderList();   // 536
bool EditScrapArticle();      // 537 (scrapbook shown, focus not in the menu list; the table checks)
bool MoveScrapArticle();      // 538 (as 537)
bool NewScrapFolder();        // 541
bool RenameScrapFolder();     // 542
bool DeleteScrapFolder();     // 543

// News recording.
bool ReserveArticle();         // 507
bool OpenRecordingDialog();    // 508, also a menu-file action
bool OpenRecordingSettings();  // 553, also a menu-file action

// Sleep timer and update check.
bool SetSleepTimer();       // 554, also a menu-file action
bool CancelSleepTimer();    // 555, also a menu-file action; false when no timer is set
bool AnnounceSleepTimer();  // 600
bool CheckForUpdateNow();   // 565, also a menu-file action
