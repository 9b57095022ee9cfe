// Shift-JIS (code page 932) byte helpers shared by the portable core.
//
// A double-byte character starts with a lead byte in 0x81-0x9F or 0xE0-0xFC and
// takes the byte after it as its trail byte. Everything else is one byte.
#ifndef TAVLO_RETRIEVAL_SJIS_H
#define TAVLO_RETRIEVAL_SJIS_H

#include <cstddef>

inline bool SjisIsLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Length of the longest prefix of s[0..n) that is at most limit bytes long and does
// not end between the lead and the trail byte of a character. Characters are
// counted from s[0]; a lead byte at s[n - 1] counts as a character of its own.
std::size_t SjisFitLength(const char* s, std::size_t n, std::size_t limit);

// Copies s[0..n) into dest, a buffer of capacity bytes, cut on a character
// boundary when it is too long, and always NUL-terminated (nothing is written when
// capacity is 0). s and dest may overlap. Returns the number of bytes copied.
std::size_t SjisCopyCut(char* dest, std::size_t capacity, const char* s, std::size_t n);

// Cuts the NUL-terminated text in place so that it fits in capacity bytes, on a
// character boundary. Returns the new length.
std::size_t SjisTruncate(char* text, std::size_t capacity);

#endif
