// The program's code page and the conversions of whole texts into it.
#pragma once
#include <windows.h>

#include <cstddef>

#include "win/handles.h"

namespace win {

// Shift-JIS: every text inside the program, the ANSI functions and PC-Talker use it.
constexpr UINT ShiftJisCodePage = 932;

// What stands for a character Shift-JIS lacks: the middle dot (U+30FB), the code page's own
// default character, which a screen reader passes over rather than reading out a question.
constexpr const char* ShiftJisStandIn = "\x81\x45";

// Re-encodes the UTF-8 text in buffer (capacity bytes, terminated) as Shift-JIS in place, one
// stand-in for each character Shift-JIS lacks, cut on a character boundary should it not fit
// (a broken UTF-8 byte becomes a two-byte stand-in). Returns false, leaving the text as it
// was, when it cannot be converted.
bool Utf8ToShiftJisInPlace(char* buffer, size_t capacity);

// The Shift-JIS text re-encoded as UTF-8 into a new buffer of its own size. False, utf8
// untouched, when it cannot be converted.
bool ShiftJisToUtf8(const char* text, HeapBuffer& utf8);

}  // namespace win
