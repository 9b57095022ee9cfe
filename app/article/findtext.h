// Finding the search text in the body text and in the entries of a list.
//
// Texts are Shift-JIS. A match always begins on a character boundary: the search for "A" never
// stops on the trail byte of "ア". The comparison is exact, byte for byte (case matters).
// The body view counts its positions in characters, while the text fetched from it is bytes;
// FindInBody takes and returns character positions and converts on the way.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

// The search text's buffer: at most 127 bytes of text and the terminator.
constexpr std::size_t FindTextCapacity = 128;

// Byte offset of the first match that begins at or after byte `from`, or -1.
long FindForwardInText(const char* text, std::size_t n, const char* find, std::size_t from);

// Byte offset of the last match that begins at or before byte `from`, or -1 (also for a
// negative `from`).
long FindBackwardInText(const char* text, std::size_t n, const char* find, long from);

// Whether the entry text contains the search text.
bool TextContains(const char* text, const char* find);

// The character position of the next match after the caret (forward) or of the last one before
// it (backward), or -1. The match at the caret itself is never found again, so repeating the
// search moves on. An empty search text finds nothing.
long FindInBody(const char* text, std::size_t n, const char* find, long caret, bool forward);

// The index of the first entry after the selected one (forward) or the nearest before it
// (backward) that contains the search text, or -1. There is no wrap-around: a search from the
// last entry forward, or from the first backward, finds nothing. `selected` is -1 when no entry
// is selected.
int FindInList(const std::vector<std::string>& entries, int selected, const char* find, bool forward);
