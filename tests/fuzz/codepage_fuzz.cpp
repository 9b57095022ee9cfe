// Drives what a received page goes through before the Win32 code-page conversion: the
// reference decoding of the UTF-8 page, the reading and encoding of single references, and
// the Shift-JIS cuts that bring every converted text to its buffer. The conversion itself
// (MultiByteToWideChar and back, surrogate pairs folded) runs only under Windows and is left
// to the Win32 tests; what reaches it from here must be UTF-8 as valid as the page was.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "retrieval/charrefs.h"
#include "retrieval/sjis.h"

namespace {

// Names the broken rule before the fuzzer reports the input.
#define Check(ok) \
    ((ok) ? (void)0 : (std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #ok), std::abort()))

// Strict UTF-8: shortest forms only, no surrogates, nothing past U+10FFFF.
bool ValidUtf8(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t more = 0;
        unsigned long cp = 0, least = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            more = 1, cp = c & 0x1F, least = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2, cp = c & 0x0F, least = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3, cp = c & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (s.size() - i - 1 < more) return false;
        for (std::size_t k = 1; k <= more; ++k) {
            const unsigned char t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) return false;
            cp = cp << 6 | (t & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += more + 1;
    }
    return true;
}

// Whether cut ends on a character boundary of s, characters counted from s[0] as SjisFitLength
// counts them.
bool OnBoundary(const char* s, std::size_t n, std::size_t cut) {
    std::size_t i = 0;
    while (i < cut) i += (SjisIsLead(static_cast<unsigned char>(s[i])) && i + 1 < n) ? 2 : 1;
    return i == cut;
}

void CheckReferences(const std::string& text) {
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    const std::size_t decoded = DecodeReferencesUtf8(buffer.data());
    const std::string out(buffer.data());
    Check(out.size() <= text.size());
    // Decoding writes characters beyond ASCII only: no markup character, no '&', no line break
    // appears that the page did not hold.
    std::size_t before[128] = {}, after[128] = {};
    for (unsigned char c : text)
        if (c < 128) ++before[c];
    for (unsigned char c : out)
        if (c < 128) ++after[c];
    for (int c = 1; c < 128; ++c) Check(after[c] <= before[c]);
    Check(before[int('&')] - after[int('&')] == decoded);  // each reference its own '&'
    if (ValidUtf8(text)) Check(ValidUtf8(out));
}

void CheckReadReference(const std::string& text) {
    // Exactly as large as the text: a read past its end is reported.
    std::vector<char> exact(text.begin(), text.end());
    unsigned long codePoint = 0xFFFFFFFF;
    const std::size_t taken = ReadReference(exact.data(), exact.size(), &codePoint);
    Check(taken <= exact.size());
    if (taken > 0) Check(exact[0] == '&' && taken >= 3 && codePoint != 0xFFFFFFFF);
}

void CheckEncode(unsigned long codePoint) {
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return;
    char bytes[4];
    const std::size_t n = EncodeUtf8(codePoint, bytes);
    Check(n >= 1 && n <= 4);
    Check(ValidUtf8(std::string(bytes, n)));
}

void CheckCuts(const std::string& text, std::size_t limit) {
    const char* s = text.data();
    const std::size_t n = text.size();
    const std::size_t fit = SjisFitLength(s, n, limit);
    Check(fit <= n && fit <= limit && OnBoundary(s, n, fit));
    if (fit < n) {
        // The longest such prefix: the next character does not fit.
        const std::size_t step = (SjisIsLead(static_cast<unsigned char>(s[fit])) && fit + 1 < n) ? 2 : 1;
        Check(fit + step > limit);
    }

    std::vector<char> dest(limit);  // exactly the capacity
    const std::size_t copied = SjisCopyCut(dest.data(), dest.size(), s, n);
    if (limit == 0) {
        Check(copied == 0);
    } else {
        Check(copied < limit && dest[copied] == '\0' && std::memcmp(dest.data(), s, copied) == 0);
    }

    // In place, the text filling its buffer without a terminator when it is long enough.
    std::vector<char> buffer(text.begin(), text.end());
    if (buffer.size() > limit) buffer.resize(limit);
    if (buffer.size() < limit) buffer.push_back('\0');
    if (buffer.empty()) return;
    const std::size_t kept = SjisTruncate(buffer.data(), buffer.size());
    Check(kept < buffer.size() && buffer[kept] == '\0');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::size_t limit = in.ConsumeIntegralInRange<std::size_t>(0, 300);
    const unsigned long codePoint = in.ConsumeIntegral<uint32_t>() % 0x110000;
    const std::string text = in.ConsumeRemainingBytesAsString();
    const std::string terminated(text.c_str());

    CheckReferences(terminated);
    CheckReadReference(text);
    const std::size_t amp = text.find('&');
    if (amp != std::string::npos) CheckReadReference(text.substr(amp));
    CheckEncode(codePoint);
    CheckCuts(text, limit);
    return 0;
}
