#include "retrieval/textcut.h"

#include <climits>
#include <cstring>

#include "retrieval/sjis.h"

namespace {

constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

std::size_t Length(const char* marker) { return marker ? std::strlen(marker) : 0; }

// First occurrence of m[0..mlen) in s[0..n) that starts at or after from.
std::size_t Find(const char* s, std::size_t n, std::size_t from, const char* m, std::size_t mlen) {
    if (!m || from > n || mlen > n - from) return kNotFound;
    if (mlen == 0) return from;
    const char* p = s + from;
    const char* last = s + (n - mlen);
    while (p <= last) {
        p = static_cast<const char*>(std::memchr(p, m[0], static_cast<std::size_t>(last - p) + 1));
        if (!p) return kNotFound;
        if (std::memcmp(p + 1, m + 1, mlen - 1) == 0) return static_cast<std::size_t>(p - s);
        ++p;
    }
    return kNotFound;
}

// Last occurrence of m[0..mlen) in s[0..n) that starts at or before from.
std::size_t FindBack(const char* s, std::size_t n, std::size_t from, const char* m, std::size_t mlen) {
    if (!m || mlen > n) return kNotFound;
    std::size_t i = from < n - mlen ? from : n - mlen;
    for (;;) {
        if ((mlen == 0 || s[i] == m[0]) && std::memcmp(s + i, m, mlen) == 0) return i;
        if (i == 0) return kNotFound;
        --i;
    }
}

// First occurrence of m at or after from in the NUL-terminated s, for a from known
// to lie within s. Never reads past the terminator, so it costs only the distance
// to the match, however long the page.
std::size_t FindOpen(const char* s, std::size_t from, const char* m) {
    if (!m) return kNotFound;
    if (m[0] == '\0') return from;
    for (const char* p = s + from;; ++p) {
        p = std::strchr(p, m[0]);
        if (!p) return kNotFound;
        std::size_t k = 1;
        while (m[k] != '\0' && p[k] == m[k]) ++k;  // stops at the page's NUL as well
        if (m[k] == '\0') return static_cast<std::size_t>(p - s);
    }
}

// Whether position lies within the NUL-terminated text (the terminator included),
// looking at no more than position bytes.
bool WithinText(const char* text, std::size_t position) {
    return std::memchr(text, '\0', position) == nullptr;
}

int ToPosition(std::size_t offset) {
    return offset == kNotFound || offset > static_cast<std::size_t>(INT_MAX) ? -1 : static_cast<int>(offset);
}

// Makes text[from..to) the whole text.
void Keep(char* text, std::size_t from, std::size_t to) {
    if (to < from) to = from;
    std::memmove(text, text + from, to - from);
    text[to - from] = '\0';
}

// Copies page[from..to) into an output, an empty field when to lies before from.
void CopyField(char* out, std::size_t capacity, const char* page, std::size_t from, std::size_t to) {
    if (!out) return;
    SjisCopyCut(out, capacity, page + from, to > from ? to - from : 0);
}

int CutAround(char* text, const char* start, const char* end, bool lastEnd) {
    if (!text) return 0;
    const std::size_t n = std::strlen(text);
    const std::size_t startLength = Length(start), endLength = Length(end);
    const std::size_t p = Find(text, n, 0, start, startLength);
    if (p != kNotFound) {
        const std::size_t from = p + startLength;
        const std::size_t q =
            lastEnd ? FindBack(text, n, n, end, endLength) : Find(text, n, p, end, endLength);
        Keep(text, from, q == kNotFound ? n : q);  // an end inside the start leaves nothing
        return 1;
    }
    const std::size_t q = Find(text, n, 0, end, endLength);
    if (q == kNotFound) return 0;
    text[q] = '\0';
    return 1;
}

}  // namespace

int FindMarker(const char* text, const char* marker, int* position) {
    const int start = *position < 0 ? 0 : *position;
    *position = -1;
    if (!text || !marker || !WithinText(text, static_cast<std::size_t>(start))) return 0;
    *position = ToPosition(FindOpen(text, static_cast<std::size_t>(start), marker));
    return *position >= 0 ? 1 : 0;
}

int FindMarkerBackward(const char* text, const char* marker, int* position) {
    const int start = *position;
    *position = -1;
    if (!text || !marker || start < 0) return 0;
    const std::size_t markerLength = std::strlen(marker);
    // Only the bytes up to start + markerLength can take part in a match.
    const std::size_t window = static_cast<std::size_t>(start) + markerLength;
    const char* nul = static_cast<const char*>(std::memchr(text, '\0', window));
    const std::size_t n = nul ? static_cast<std::size_t>(nul - text) : window;
    *position = ToPosition(FindBack(text, n, static_cast<std::size_t>(start), marker, markerLength));
    return *position >= 0 ? 1 : 0;
}

int CutBetween(char* text, const char* start, const char* end) { return CutAround(text, start, end, false); }

int CutBetweenLast(char* text, const char* start, const char* end) {
    return CutAround(text, start, end, true);
}

namespace {

// Cuts text (length n) from p to past the end marker found at q, or to the end of the text
// when no end marker was found.
void CutFrom(char* text, std::size_t n, std::size_t p, std::size_t q, std::size_t endLength) {
    if (q == kNotFound) {
        text[p] = '\0';
        return;
    }
    const std::size_t rest = q + endLength;
    std::memmove(text + p, text + rest, n - rest + 1);
}

}  // namespace

int RemoveSpan(char* text, const char* start, const char* end) {
    if (!text) return 0;
    const std::size_t n = std::strlen(text);
    const std::size_t startLength = Length(start), endLength = Length(end);
    const std::size_t p = Find(text, n, 0, start, startLength);
    if (p != kNotFound) {
        CutFrom(text, n, p, Find(text, n, p, end, endLength), endLength);
        return 1;
    }
    const std::size_t q = Find(text, n, 0, end, endLength);
    if (q == kNotFound) return 0;
    // Without a start marker the character after the end marker goes too; a
    // double-byte character goes whole, so that no stray trail byte is left.
    std::size_t rest = q + endLength;
    if (rest < n) rest += (SjisIsLead(static_cast<unsigned char>(text[rest])) && rest + 1 < n) ? 2 : 1;
    std::memmove(text, text + rest, n - rest + 1);
    return 1;
}

int RemoveSpanFrom(char* text, const char* start, const char* end) {
    if (!text) return 0;
    const std::size_t n = std::strlen(text);
    const std::size_t p = Find(text, n, 0, start, Length(start));
    if (p == kNotFound) return 0;
    const std::size_t endLength = Length(end);
    CutFrom(text, n, p, Find(text, n, p + 1, end, endLength), endLength);
    return 1;
}

// The repeating operations below are defined as "find the first match, change
// it, search again from the start of the text". Every one of them is computed in
// a single left-to-right pass: the text before a change holds no match (else the
// match found would not have been the first), so the search can go on from just
// before the change, as far back as a match overlapping it could begin.

void StripTags(char* text) {
    if (!text) return;
    const std::size_t n = std::strlen(text);
    std::size_t w = 0, r = 0;
    for (;;) {
        const char* open = static_cast<const char*>(std::memchr(text + r, '<', n - r));
        if (!open) break;
        const std::size_t lt = static_cast<std::size_t>(open - text);
        const char* close = static_cast<const char*>(std::memchr(open, '>', n - lt));
        if (!close) break;  // an unclosed '<' and all after it stay
        std::memmove(text + w, text + r, lt - r);
        w += lt - r;
        r = static_cast<std::size_t>(close - text) + 1;
    }
    std::memmove(text + w, text + r, n - r + 1);
}

int FoldCrLf(char* text) {
    if (!text) return 0;
    int folded = 0;
    std::size_t w = 0, r = 0;
    for (; text[r] != '\0'; ++r) {
        if (text[r] == '\r' && text[r + 1] == '\n') {
            ++r;
            ++folded;
        }
        text[w++] = text[r];
    }
    text[w] = '\0';
    return folded;
}

int CollapseBlankLines(char* text) {
    if (!text) return 0;
    int deleted = 0;
    std::size_t w = 0, r = 0;
    for (; text[r] != '\0'; ++r) {
        if (text[r] == '\n' && text[r + 1] == '\n') {
            ++deleted;
            continue;
        }
        text[w++] = text[r];
    }
    text[w] = '\0';
    return deleted;
}

int DeleteSpacePairs(char* text) {
    if (!text) return 1;
    std::size_t w = 0, r = 0;
    while (text[r] != '\0') {
        if (text[r] == ' ' && text[r + 1] == ' ') {
            r += 2;
            continue;
        }
        text[w++] = text[r++];
    }
    text[w] = '\0';
    return 1;
}

int ReplaceAll(char* text, std::size_t capacity, const char* searched, const char* replacement) {
    if (!text || !searched || searched[0] == '\0') return 1;
    if (!replacement) replacement = "";
    const std::size_t m = std::strlen(searched), k = std::strlen(replacement);
    if (m == k && std::memcmp(searched, replacement, m) == 0) return 1;  // nothing would change
    const std::size_t n = std::strlen(text);
    const std::size_t first = Find(text, n, 0, searched, m);
    if (first == kNotFound) return 1;

    // The text is kept as a finished part text[0..w), which holds no match, and
    // an unread part text[r..end). A replacement is written into the gap between
    // them, at the front of the unread part, so that it is searched again together
    // with what follows. A replacement no longer than the searched text never
    // widens the text; a longer one needs the unread part at the end of the buffer.
    const std::size_t limit = capacity > n ? capacity - 1 : n;  // longest text allowed
    std::size_t w = first, r = first, end = n;
    if (k > m) {
        end = limit;
        r = end - (n - first);
        std::memmove(text + r, text + first, n - first);
    }
    int result = 1;
    for (;;) {
        // A match may begin in the last m - 1 bytes of the finished part.
        std::size_t back = 0;
        const std::size_t unread = end - r;
        for (std::size_t b = (w < m - 1 ? w : m - 1); b > 0; --b) {
            if (unread >= m - b && text[w - b] == searched[0] &&
                std::memcmp(text + w - b, searched, b) == 0 &&
                std::memcmp(text + r, searched + b, m - b) == 0) {
                back = b;
                break;
            }
        }
        if (back == 0) {
            const std::size_t j = Find(text + r, unread, 0, searched, m);
            if (j == kNotFound) break;
            if (w != r) std::memmove(text + w, text + r, j);
            w += j;
            r += j;
        }
        const std::size_t grown = w + (end - r) - m + k;
        if (grown > limit) {
            result = 0;  // the next replacement would not fit
            break;
        }
        w -= back;
        r += m - back;
        r -= k;
        std::memcpy(text + r, replacement, k);
    }
    std::memmove(text + w, text + r, end - r);
    text[w + (end - r)] = '\0';
    return result;
}

int ExtractLink(const char* page, char* address, std::size_t addressCapacity, char* text,
                std::size_t textCapacity, const char* marker1, const char* marker2, int* position) {
    const int start = *position < 0 ? 0 : *position;
    *position = -1;
    if (!page || !marker1 || !marker2 || !WithinText(page, static_cast<std::size_t>(start))) return 0;
    const std::size_t p = FindOpen(page, static_cast<std::size_t>(start), marker1);
    if (p == kNotFound) return 0;
    // The address ends at marker 2 after marker 1 (or before "\">"), so that a
    // marker 2 occurring inside marker 1, as '"' in "href=\"", is not taken.
    const std::size_t address0 = p + std::strlen(marker1);
    const std::size_t c = FindOpen(page, address0, marker2[0] != '\0' ? marker2 : "\">");
    if (c == kNotFound) return 0;
    const std::size_t g = FindOpen(page, c, ">");
    if (g == kNotFound) return 0;
    const std::size_t e = FindOpen(page, g, "</a>");
    if (e == kNotFound || ToPosition(g + 4) < 0) return 0;
    CopyField(address, addressCapacity, page, address0, c + std::strlen(marker2));
    CopyField(text, textCapacity, page, g + 1, e);
    *position = static_cast<int>(g + 4);
    return 1;
}

namespace {

// The chained search of four markers shared by the field-pair extractors.
// Fills at[0..3] and returns 1, or 0 with *position set as the extractors state.
// Markers 2 and 4 close the fields that markers 1 and 3 open, so they are searched
// after the whole opening marker: a closing '"' must not be taken from the
// opening "href=\"" itself. Marker 3 is searched from where marker 2 begins.
int FindFour(const char* page, const char* const markers[4], std::size_t at[4], int* position) {
    const int start = *position < 0 ? 0 : *position;
    *position = -1;
    if (!page || !WithinText(page, static_cast<std::size_t>(start))) return 0;
    std::size_t from = static_cast<std::size_t>(start);
    for (int i = 0; i < 4; ++i) {
        at[i] = FindOpen(page, from, markers[i]);
        if (at[i] == kNotFound) {
            if (i > 0) *position = ToPosition(at[0]);
            return 0;
        }
        from = at[i] + (i % 2 == 0 ? std::strlen(markers[i]) : 0);
    }
    *position = ToPosition(at[3]);
    return *position >= 0 ? 1 : 0;
}

}  // namespace

int ExtractFieldPair(const char* page, char* output1, std::size_t capacity1, char* output2,
                     std::size_t capacity2, const char* marker1, const char* marker2, const char* marker3,
                     const char* marker4, int* position) {
    const char* const markers[4] = {marker1, marker2, marker3, marker4};
    std::size_t at[4];
    if (!FindFour(page, markers, at, position)) return 0;
    CopyField(output1, capacity1, page, at[0] + std::strlen(marker1), at[1]);
    CopyField(output2, capacity2, page, at[2] + std::strlen(marker3), at[3]);
    return 1;
}

int ExtractMediaFields(const char* page, char* output1, std::size_t capacity1, char* output2,
                       std::size_t capacity2, const char* marker1, const char* marker2, const char* marker3,
                       const char* marker4, int* position) {
    const char* const markers[4] = {marker1, marker2, marker3, marker4};
    std::size_t at[4];
    if (!FindFour(page, markers, at, position)) return 0;
    const std::size_t after1 = at[0] + std::strlen(marker1), after3 = at[2] + std::strlen(marker3);
    if (std::strcmp(marker4, ".mp3") == 0) {
        CopyField(output1, capacity1, page, after1, at[1]);
        CopyField(output2, capacity2, page, after3, at[3] + 4);
    } else {
        CopyField(output2, capacity2, page, after1, at[1] + std::strlen(marker2));
        CopyField(output1, capacity1, page, after3, at[3]);
    }
    return 1;
}

int ExtractAnchor(const char* page, char* address, std::size_t addressCapacity, char* text,
                  std::size_t textCapacity, int* position) {
    const int start = *position < 0 ? 0 : *position;
    *position = -1;
    if (!page || !WithinText(page, static_cast<std::size_t>(start))) return 0;
    const std::size_t a = FindOpen(page, static_cast<std::size_t>(start), "<a href=\"");
    if (a == kNotFound) return 0;
    const std::size_t q = FindOpen(page, a + 9, "\"");
    if (q == kNotFound) return 0;
    const std::size_t g = FindOpen(page, q + 1, ">");
    if (g == kNotFound) return 0;
    const std::size_t e = FindOpen(page, g + 1, "</a>");
    if (e == kNotFound || ToPosition(e + 4) < 0) return 0;
    CopyField(address, addressCapacity, page, a + 9, q);
    CopyField(text, textCapacity, page, g + 1, e);
    *position = static_cast<int>(e + 4);
    return 1;
}

int ResolveParentPath(char* address) {
    if (!address) return 0;
    const std::size_t n = std::strlen(address);
    std::size_t at = Find(address, n, 0, "../", 3);
    if (at == kNotFound) return 0;
    // Each round deletes the first three bytes of the text, not the match, and the
    // next search starts where the last match was. The deletions are counted in
    // dropped and done at the end; the current text is address[dropped..n).
    std::size_t dropped = 0;
    for (;;) {
        const std::size_t found = Find(address + dropped, n - dropped, at, "../", 3);
        if (found == kNotFound) break;
        at = found;
        dropped += 3;
    }
    std::memmove(address + 1, address + dropped, n - dropped + 1);
    address[0] = '/';
    return 1;
}
