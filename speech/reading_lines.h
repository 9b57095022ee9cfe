// The lines of the body text as a continuous reading speaks them. The text control counts
// positions and lengths in characters, while the text arrives as Shift-JIS bytes; the
// conversion between the two is made here, apart from the control.
#pragma once
#include <cstddef>

// A line is read into a buffer of this many bytes, terminator included.
constexpr std::size_t ReadingLineCapacity = 3073;

// Characters in s[0..n): a lead byte and the byte after it are one character (a lead byte
// at the very end counts alone).
std::size_t SjisCharCount(const char* s, std::size_t n);

// Bytes taken by the first chars characters of s[0..n) (at most n).
std::size_t SjisCharsToBytes(const char* s, std::size_t n, std::size_t chars);

// The bytes to speak of a line of lineChars characters whose text was fetched into s[0..n):
// the line's own characters without the line break that may follow them, cut on a character
// boundary so that they fit capacity bytes with the terminator.
std::size_t ReadingLineLength(const char* s, std::size_t n, std::size_t lineChars, std::size_t capacity);

// NVDA is handed only lines of more than two bytes: empty lines and a lone double-byte
// character are passed over.
inline bool NvdaReadsLine(std::size_t bytes) { return bytes > 2; }

enum class CountNotice {
    None,           // no notice
    LinesAndLinks,  // "this article has N lines and L related links"
    LinesOnly,      // a scrapbook text: "this article has N lines"
};

// Which notice opens a reading: only with the notice switched on, from the first line, and
// never for a radio category (second category parameter "radio").
CountNotice ChooseCountNotice(int countNoticeSetting, int firstLine, const char* categoryKind,
                              int scrapbookMode);
