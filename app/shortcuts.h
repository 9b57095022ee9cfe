// Pages, files and folders opened outside the program: radio and web entries of the menus,
// the help files, the maker's pages, the recording folder and the page shown.
#pragma once

// Enter on a menu entry of code 601: opens its address in the browser and adds it to the
// history under its station name (or its list text).
void OpenRadioEntry(int level, int p);

bool OpenRecordingFolder();  // 503
bool OpenPageInBrowser();    // 504, Ctrl+B
bool OpenManual();           // 561, F1
bool OpenCommandList();      // 562
bool OpenChangeHistory();    // 563
bool ShowVersionInfo();      // 564
bool OpenProductPage();      // 566
bool OpenAuthorSite();       // 567
bool OpenInquiryForm();      // 568
