#include "speech/reading_lines.h"

#include <cstring>

#include "retrieval/sjis.h"

std::size_t SjisCharCount(const char* s, std::size_t n) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < n; ++chars)
        i += SjisIsLead(static_cast<unsigned char>(s[i])) && i + 1 < n ? 2 : 1;
    return chars;
}

std::size_t SjisCharsToBytes(const char* s, std::size_t n, std::size_t chars) {
    std::size_t i = 0;
    for (std::size_t c = 0; c < chars && i < n; ++c)
        i += SjisIsLead(static_cast<unsigned char>(s[i])) && i + 1 < n ? 2 : 1;
    return i;
}

std::size_t ReadingLineLength(const char* s, std::size_t n, std::size_t lineChars, std::size_t capacity) {
    if (capacity == 0) return 0;
    std::size_t bytes = SjisCharsToBytes(s, n, lineChars);
    // The line break belongs to the line in some controls' counts; it is never spoken.
    const void* cr = std::memchr(s, '\r', bytes);
    const void* lf = std::memchr(s, '\n', bytes);
    if (cr) bytes = static_cast<const char*>(cr) - s;
    if (lf && static_cast<std::size_t>(static_cast<const char*>(lf) - s) < bytes)
        bytes = static_cast<const char*>(lf) - s;
    // A lead byte whose trail byte did not arrive is half a character: it is not spoken.
    std::size_t whole = 0;
    while (whole < bytes) {
        std::size_t step = SjisIsLead(static_cast<unsigned char>(s[whole])) ? 2 : 1;
        if (whole + step > bytes) break;
        whole += step;
    }
    return SjisFitLength(s, whole, capacity - 1);
}

CountNotice ChooseCountNotice(int countNoticeSetting, int firstLine, const char* categoryKind,
                              int scrapbookMode) {
    if (countNoticeSetting != 1 || firstLine != 0) return CountNotice::None;
    if (categoryKind && std::strcmp(categoryKind, "radio") == 0) return CountNotice::None;
    return scrapbookMode == 1 ? CountNotice::LinesOnly : CountNotice::LinesAndLinks;
}
