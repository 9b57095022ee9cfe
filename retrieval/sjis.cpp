#include "retrieval/sjis.h"

#include <cstring>

std::size_t SjisFitLength(const char* s, std::size_t n, std::size_t limit) {
    if (n <= limit) return n;
    std::size_t i = 0;
    while (i < limit) {
        std::size_t step = (SjisIsLead(static_cast<unsigned char>(s[i])) && i + 1 < n) ? 2 : 1;
        if (i + step > limit) break;
        i += step;
    }
    return i;
}

std::size_t SjisCopyCut(char* dest, std::size_t capacity, const char* s, std::size_t n) {
    if (capacity == 0) return 0;
    std::size_t len = SjisFitLength(s, n, capacity - 1);
    std::memmove(dest, s, len);
    dest[len] = '\0';
    return len;
}

std::size_t SjisTruncate(char* text, std::size_t capacity) {
    if (capacity == 0) return 0;
    std::size_t n = 0;
    while (n < capacity && text[n] != '\0') ++n;
    if (n < capacity) return n;  // already fits
    std::size_t len = SjisFitLength(text, n, capacity - 1);
    text[len] = '\0';
    return len;
}
