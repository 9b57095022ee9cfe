#include "retrieval/charrefs.h"

#include <cstring>

namespace {

struct NamedReference {
    const char* name;
    unsigned long codePoint;
};

// The named references that real news pages use, markup characters first. Pages that use
// other names keep them as text.
const NamedReference NamedReferences[] = {
    {"amp",    '&'   },
    {"lt",     '<'   },
    {"gt",     '>'   },
    {"quot",   '"'   },
    {"apos",   '\''  },
    {"nbsp",   0xA0  },
    {"ensp",   0x2002},
    {"emsp",   0x2003},
    {"thinsp", 0x2009},
    {"copy",   0xA9  },
    {"reg",    0xAE  },
    {"trade",  0x2122},
    {"hellip", 0x2026},
    {"mdash",  0x2014},
    {"ndash",  0x2013},
    {"minus",  0x2212},
    {"middot", 0xB7  },
    {"bull",   0x2022},
    {"times",  0xD7  },
    {"divide", 0xF7  },
    {"plusmn", 0xB1  },
    {"deg",    0xB0  },
    {"sect",   0xA7  },
    {"para",   0xB6  },
    {"yen",    0xA5  },
    {"laquo",  0xAB  },
    {"raquo",  0xBB  },
    {"lsquo",  0x2018},
    {"rsquo",  0x2019},
    {"ldquo",  0x201C},
    {"rdquo",  0x201D},
    {"larr",   0x2190},
    {"rarr",   0x2192},
    {"uarr",   0x2191},
    {"darr",   0x2193},
    {"hearts", 0x2665},
    {"prime",  0x2032},
    {"Prime",  0x2033},
    {"dagger", 0x2020},
    {"Dagger", 0x2021},
    {"euro",   0x20AC},
    {"pound",  0xA3  },
    {"cent",   0xA2  },
    {"micro",  0xB5  },
    {"frac12", 0xBD  },
    {"sup2",   0xB2  },
    {"sup3",   0xB3  },
    {"acute",  0xB4  },
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlnum(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::size_t ReadNumeric(const char* s, std::size_t n, unsigned long* codePoint) {
    std::size_t i = 2;  // after "&#"
    const bool hex = i < n && (s[i] == 'x' || s[i] == 'X');
    if (hex) ++i;
    const std::size_t digitsStart = i;
    unsigned long value = 0;
    while (i < n) {
        const int digit = hex ? HexValue(s[i]) : (IsDigit(s[i]) ? s[i] - '0' : -1);
        if (digit < 0) break;
        if (value <= 0x10FFFF) value = value * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
        ++i;
    }
    if (i == digitsStart) return 0;
    if (i < n && s[i] == ';') ++i;
    *codePoint = value;
    return i;
}

std::size_t ReadNamed(const char* s, std::size_t n, unsigned long* codePoint) {
    std::size_t i = 1;
    while (i < n && i < 10 && IsAlnum(s[i])) ++i;
    if (i >= n || s[i] != ';' || i == 1) return 0;
    const std::size_t length = i - 1;
    for (const NamedReference& named : NamedReferences) {
        if (std::strlen(named.name) == length && std::memcmp(named.name, s + 1, length) == 0) {
            *codePoint = named.codePoint;
            return i + 1;
        }
    }
    return 0;
}

bool Encodable(unsigned long c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

}  // namespace

std::size_t ReadReference(const char* s, std::size_t n, unsigned long* codePoint) {
    if (n < 3 || s[0] != '&') return 0;
    if (s[1] == '#') return ReadNumeric(s, n, codePoint);
    return ReadNamed(s, n, codePoint);
}

std::size_t EncodeUtf8(unsigned long c, char* out) {
    if (c < 0x80) {
        out[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<char>(0xC0 | (c >> 6));
        out[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (c >> 12));
        out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (c >> 18));
    out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}

std::size_t DecodeReferencesUtf8(char* text) {
    const std::size_t n = std::strlen(text);
    std::size_t read = 0, write = 0, decoded = 0;
    while (read < n) {
        unsigned long c = 0;
        const std::size_t taken = text[read] == '&' ? ReadReference(text + read, n - read, &c) : 0;
        // Only characters beyond ASCII and the no-break space; the UTF-8 form of a code point
        // from U+00A1 up never takes more bytes than its shortest reference ("&#161;").
        if (taken > 0 && c > 0xA0 && Encodable(c)) {
            char bytes[4];
            const std::size_t length = EncodeUtf8(c, bytes);
            std::memcpy(text + write, bytes, length);
            write += length;
            read += taken;
            ++decoded;
            continue;
        }
        text[write++] = text[read++];
    }
    text[write] = '\0';
    return decoded;
}
