#include "app/article/findtext.h"

#include <cstring>

#include "retrieval/sjis.h"
#include "speech/reading_lines.h"

namespace {

std::size_t CharacterLength(const char* text, std::size_t n, std::size_t at) {
    return SjisIsLead(static_cast<unsigned char>(text[at])) && at + 1 < n ? 2 : 1;
}

bool MatchesAt(const char* text, std::size_t n, const char* find, std::size_t length, std::size_t at) {
    return at + length <= n && std::memcmp(text + at, find, length) == 0;
}

}  // namespace

long FindForwardInText(const char* text, std::size_t n, const char* find, std::size_t from) {
    std::size_t length = std::strlen(find);
    if (length == 0) return -1;
    for (std::size_t at = 0; at + length <= n; at += CharacterLength(text, n, at))
        if (at >= from && MatchesAt(text, n, find, length, at)) return static_cast<long>(at);
    return -1;
}

long FindBackwardInText(const char* text, std::size_t n, const char* find, long from) {
    std::size_t length = std::strlen(find);
    if (length == 0 || from < 0) return -1;
    long found = -1;
    for (std::size_t at = 0; at <= static_cast<std::size_t>(from) && at + length <= n;
         at += CharacterLength(text, n, at))
        if (MatchesAt(text, n, find, length, at)) found = static_cast<long>(at);
    return found;
}

bool TextContains(const char* text, const char* find) {
    return FindForwardInText(text, std::strlen(text), find, 0) >= 0;
}

long FindInBody(const char* text, std::size_t n, const char* find, long caret, bool forward) {
    if (caret < 0) caret = 0;
    long found;
    if (forward) {
        found =
            FindForwardInText(text, n, find, SjisCharsToBytes(text, n, static_cast<std::size_t>(caret) + 1));
    } else {
        if (caret == 0) return -1;
        long before = static_cast<long>(SjisCharsToBytes(text, n, static_cast<std::size_t>(caret) - 1));
        found = FindBackwardInText(text, n, find, before);
    }
    if (found < 0) return -1;
    return static_cast<long>(SjisCharCount(text, static_cast<std::size_t>(found)));
}

int FindInList(const std::vector<std::string>& entries, int selected, const char* find, bool forward) {
    const int count = static_cast<int>(entries.size());
    if (forward) {
        for (int r = selected < 0 ? 0 : selected + 1; r < count; ++r)
            if (TextContains(entries[r].c_str(), find)) return r;
    } else {
        for (int r = (selected > count ? count : selected) - 1; r >= 0; --r)
            if (TextContains(entries[r].c_str(), find)) return r;
    }
    return -1;
}
