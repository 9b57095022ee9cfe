// What the reading-position commands of the body view speak: the caret's line and column, a
// line or the part of it before or after the caret, and the counts.
//
// The body view counts positions in characters; a line fetched from it is Shift-JIS bytes. The
// parts of a line are cut at the caret's character, never inside a double-byte character.
#pragma once
#include <cstddef>

enum class LinePart {
    Whole,      // the whole line
    ToCaret,    // from the line start up to the caret
    FromCaret,  // from the caret to the line end
};

// The bytes [*begin, *end) of the part of a line of n bytes (its own characters, without the
// line break) with the caret `column` characters after the line start.
void CutLinePart(const char* line, std::size_t n, long column, LinePart part, std::size_t* begin,
                 std::size_t* end);

// Texts spoken, each written into out (capacity bytes, always terminated).
// "%d行%d列": line and column counted from 1, from the control's 0-based line and the caret's and
// line start's character positions.
void PositionText(char* out, std::size_t capacity, long line, long caret, long lineStart);
// "%d行" with the control's line count.
void LineCountText(char* out, std::size_t capacity, long lines);
// "%d文字" with the number of UTF-16 code units, "0文字" for an empty text.
void CharacterCountText(char* out, std::size_t capacity, long units);
