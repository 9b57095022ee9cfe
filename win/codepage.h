// The program's code page and the conversions of whole texts into it.
#pragma once
#include <windows.h>

#include <cstddef>

namespace win {

// Shift-JIS: every text inside the program, the ANSI functions and PC-Talker use it.
constexpr UINT ShiftJisCodePage = 932;

// Re-encodes the UTF-8 text in buffer (capacity bytes, terminated) as Shift-JIS in place.
// Every character takes no more bytes in Shift-JIS than in UTF-8 ('?' for those it lacks), so
// the text always fits. Returns false, leaving the text as it was, when it cannot be converted.
bool Utf8ToShiftJisInPlace(char* buffer, size_t capacity);

}  // namespace win
