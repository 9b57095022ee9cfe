// Continuous reading: the body text spoken line by line on a worker thread, the caret moving
// along. What to read and what count notice to give is decided by the caller (app/); the
// article-after-article mode and the reading commands live there too.
#pragma once
#include <windows.h>

#include "speech/reading_lines.h"

// 1 while a continuous reading runs; most commands are refused then.
extern volatile LONG ReadingActive;
// The thread of the reading started last; cleared (and its handle closed) when it ends.
extern HANDLE volatile ReadingThread;
// The main window's property that holds the number of reading threads still running (0 once
// every reading, its last line and "終わり" included, is over).
constexpr char ReadingStateProperty[] = "TavloReading";

// The notice spoken before the first line of a text just shown: none, the lines and the
// related links (links), or the lines only. Given only when the reading starts on line 0.
struct ReadingNotice {
    CountNotice kind = CountNotice::None;
    int links = 0;
};

// Reads the view from its caret: after half a second, with the notice first when the caret is
// on the first line, then every line, then "終わり". The caret moves through the view's parent
// window (ReadingCaretMessage).
bool StartReadBody(HWND view, const ReadingNotice& notice = ReadingNotice{});
// Reads the view from its caret at once, without the count notice (a page received again).
bool StartReadOn(HWND view);

// Ends the reading; no further line is spoken. With moveCaretBack 1 the caret goes to the
// start of the line before the one being read.
void StopReading(int moveCaretBack);

// The reading thread moves the caret through the window thread with this message to the
// view's parent window (lParam: a ReadingCaretMove), so that a stop in between is always seen.
constexpr UINT ReadingCaretMessage = WM_APP + 0x29;
LRESULT MoveReadingCaret(LPARAM move);

// Copies line `line` of the view into out (ReadingLineCapacity bytes, cut on a character
// boundary, without the line break) and returns its length in bytes.
size_t FetchViewLine(HWND view, int line, char* out);
