// Continuous reading of the body text on a worker thread.
#pragma once
#include <windows.h>

// 1 while a continuous reading runs; most commands are refused then.
extern volatile LONG ReadingActive;
extern volatile LONG AutoAdvanceActive;

// Ends the article-after-article mode and the reading; with putCaretBack 1 the caret goes to
// the start of the line before the one being read.
void StopReading(int putCaretBack);
