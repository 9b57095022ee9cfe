#include "library/webaddress.h"

#include <cstring>

namespace {

// The length of the scheme prefix ("http://" or "https://", any case) address starts with, or 0.
size_t WebSchemeLength(const char* address) {
    const char* const schemes[] = {"http://", "https://"};
    for (const char* scheme : schemes) {
        size_t i = 0;
        for (; scheme[i]; ++i) {
            char c = address[i];
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            if (c != scheme[i]) break;
        }
        if (!scheme[i]) return i;
    }
    return 0;
}

}  // namespace

bool IsWebAddress(const char* address) {
    if (!address) return false;
    size_t scheme = WebSchemeLength(address);
    if (scheme == 0 || address[scheme] == '\0') return false;
    for (const char* p = address; *p; ++p)
        if (static_cast<unsigned char>(*p) <= 0x20 || *p == 0x7F || *p == '"') return false;
    return true;
}
