// Opening an article: downloading the page of the selected headline, cutting and cleaning
// its text, collecting its links as the first level of related links, following its
// continuation pages, and showing the text in the body view. All three run on the window
// thread and block it while they download.
#pragma once

#include <windows.h>

// The article of the selected headline. Returns 1 when a text was shown (or the player
// opened for a radio entry), 0 when nothing is selected, the page could not be received
// (announced) or holds no body: neither its markers nor, when the setting is on, its main
// text (the browser is offered).
int ReceiveArticle(HWND mainWindow);

// Fetches continuation page pageNumber (2 to 10 add "?page=2" to "?page=10" to address)
// and appends its body to the joined text of the article being opened. Returns 0, without
// a word, when the page was not received or holds no body.
int ReceiveArticlePage(const char* address, int pageNumber);

// The article of the selected headline as a recording renders it: no source rules, no
// browser question, and the headline as the first line when the recording options say so.
// Returns 1 when the text was shown, 0 otherwise.
int ReceiveArticleForRecording(HWND mainWindow);
