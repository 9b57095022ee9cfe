// The reading commands of the window: reading the body view with the count notice the screen
// shows, the article-after-article mode through the headline list, and stopping both.
#pragma once
#include <windows.h>

// 1 while the article-after-article timer runs.
extern volatile LONG AutoAdvanceActive;

// Reads BodyView from its caret after its opening wait, with the count notice of the page
// shown (lines and related links, or lines only for a scrapbook text).
bool ReadBodyView();

// Ends the article-after-article mode and the reading; no further line is spoken. With
// moveCaretBack 1 the caret goes to the start of the line before the one being read.
void StopContinuousReading(int moveCaretBack);

// Ctrl+Enter: reads the article of the selected headline, then each following one; activate
// opens an entry as Enter does (ActivateEntry of the lists).
// Declines (false) while a reading runs or when neither the headline list nor the body view
// has the focus.
bool ReadAllArticles(int (*activate)(int source));
// The main window's article-after-article timer tick: activate opens the next headline.
void AutoAdvanceTick(int (*activate)(int source));

// Ctrl+1 and Ctrl+3 in the body view.
bool ReadFromTop();
bool ReadFromCaret();
