#include "app/article/caretlines.h"

#include <cstdio>

#include "speech/reading_lines.h"

void CutLinePart(const char* line, std::size_t n, long column, LinePart part, std::size_t* begin,
                 std::size_t* end) {
    std::size_t caret = SjisCharsToBytes(line, n, column > 0 ? static_cast<std::size_t>(column) : 0);
    *begin = part == LinePart::FromCaret ? caret : 0;
    *end = part == LinePart::ToCaret ? caret : n;
}

void PositionText(char* out, std::size_t capacity, long line, long caret, long lineStart) {
    std::snprintf(out, capacity, "%ld行%ld列", line + 1, caret - lineStart + 1);
}

void LineCountText(char* out, std::size_t capacity, long lines) {
    std::snprintf(out, capacity, "%ld行", lines);
}

void CharacterCountText(char* out, std::size_t capacity, long units) {
    std::snprintf(out, capacity, "%ld文字", units);
}
