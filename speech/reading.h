// Continuous reading: the body text spoken line by line on a worker thread, the caret moving
// along, and the article-after-article mode through the headline list.
#pragma once
#include <windows.h>

// 1 while a continuous reading runs; most commands are refused then.
extern volatile LONG ReadingActive;
// 1 while the article-after-article timer runs.
extern volatile LONG AutoAdvanceActive;
// The thread of the reading started last; cleared (and its handle closed) when it ends.
extern HANDLE volatile ReadingThread;

// Reads the view from its caret: after half a second, with the line and link count first when
// the caret is on the first line, then every line, then "終わり".
bool StartReadBody(HWND view);
// Reads the view from its caret at once, without the count notice (a page received again).
bool StartReadOn(HWND view);

// Ends the article-after-article mode and the reading; no further line is spoken. With
// moveCaretBack 1 the caret goes to the start of the line before the one being read.
void StopReading(int moveCaretBack);

// Ctrl+Enter: reads the article of the selected headline, then each following one.
// Declines (false) while a reading runs or when neither the headline list nor the body view
// has the focus.
bool ReadAllArticles();
// The main window's article-after-article timer tick.
void AutoAdvanceTick();

// The reading thread moves the caret through the window thread with this message to the main
// window (lParam: a ReadingCaretMove), so that a stop in between is always seen.
constexpr UINT ReadingCaretMessage = WM_APP + 0x29;
LRESULT MoveReadingCaret(LPARAM move);

// Ctrl+1 and Ctrl+3 in the body view.
bool ReadFromTop();
bool ReadFromCaret();

// Copies line `line` of the view into out (ReadingLineCapacity bytes, cut on a character
// boundary, without the line break) and returns its length in bytes.
size_t FetchViewLine(HWND view, int line, char* out);
