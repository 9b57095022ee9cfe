#include "library/textfilename.h"

#include <cstring>
#include <string>

#include "retrieval/sjis.h"

namespace {

// Full-width forms (Shift-JIS) of the single-byte characters a file title may not keep.
struct Replacement {
    char ascii;
    const char* wide;
};
constexpr Replacement Replacements[] = {
    {'+',  "\x81\x7B"},
    {'/',  "\x81\x5E"},
    {'*',  "\x81\x96"},
    {'!',  "\x81\x49"},
    {'?',  "\x81\x48"},
    {'#',  "\x81\x94"},
    {'$',  "\x81\x90"},
    {'%',  "\x81\x93"},
    {'&',  "\x81\x95"},
    {';',  "\x81\x47"},
    {',',  "\x81\x43"},
    {'.',  "\x81\x44"},
    {'\\', "\x81\x5F"},
    {':',  "\x81\x46"},
    {'"',  "\x81\x68"},
    {'|',  "\x81\x62"},
    {'<',  "\x81\x83"},
    {'>',  "\x81\x84"},
};

constexpr const char* Extension = ".txt";
constexpr std::size_t ExtensionLength = 4;

// Shift-JIS: a lead byte and the trail byte after it make one character.
bool IsTrail(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

const char* WideFormOf(char c) {
    for (const Replacement& r : Replacements)
        if (r.ascii == c) return r.wide;
    return nullptr;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether the first n bytes of name, less trailing spaces, are a device name such as CON or COM1
// (any case), which Windows opens as the device whatever extension follows.
bool IsDeviceName(const char* name, std::size_t n) {
    while (n > 0 && name[n - 1] == ' ') --n;
    char base[5] = {};
    if (n < 3 || n > 4) return false;
    for (std::size_t i = 0; i < n; ++i) base[i] = Upper(name[i]);
    if (n == 3)
        return !strcmp(base, "CON") || !strcmp(base, "PRN") || !strcmp(base, "AUX") || !strcmp(base, "NUL");
    bool port = !strncmp(base, "COM", 3) || !strncmp(base, "LPT", 3);
    return port && base[3] >= '0' && base[3] <= '9';
}

// The cleaned title, at most limit bytes: tags removed (each "<" through the next ">"; a "<"
// without one is kept and replaced), every character that may not stand in a file name
// replaced, broken double-byte characters dropped, cut before the first character that does not
// fit.
std::string CleanTitle(const char* title, std::size_t limit) {
    std::string out;
    for (std::size_t i = 0; title[i] != '\0'; ++i) {
        unsigned char c = static_cast<unsigned char>(title[i]);
        std::string piece;
        if (SjisIsLead(c)) {
            if (!IsTrail(static_cast<unsigned char>(title[i + 1]))) continue;
            piece.assign(title + i, 2);
            ++i;
        } else if (const char* close = c == '<' ? strchr(title + i, '>') : nullptr) {
            i = static_cast<std::size_t>(close - title);
            continue;
        } else if (const char* wide = WideFormOf(static_cast<char>(c))) {
            piece = wide;
        } else {
            piece.assign(1, c < 0x20 ? ' ' : static_cast<char>(c));
        }
        if (out.size() + piece.size() > limit) break;
        out += piece;
    }
    return out;
}

// Writes the file name made from title into out (capacity bytes). Returns its length, or 0.
std::size_t BuildTextFileName(const char* title, char* out, std::size_t capacity) {
    std::size_t room = capacity > 0 ? capacity - 1 : 0;
    if (room < ExtensionLength) {
        if (capacity > 0) out[0] = '\0';
        return 0;
    }
    std::size_t limit = room - ExtensionLength;
    if (limit > TextTitleLimit) limit = TextTitleLimit;
    std::string name = CleanTitle(title, limit);
    if (IsDeviceName(name.data(), name.size())) {
        if (name.size() >= limit) name.pop_back();  // device names are single-byte text
        name += '_';
    }
    name += Extension;
    memcpy(out, name.c_str(), name.size() + 1);
    return name.size();
}

}  // namespace

std::size_t MakeTextFileName(char* name, std::size_t capacity) {
    std::string title(name, strnlen(name, capacity));
    return BuildTextFileName(title.c_str(), name, capacity);
}

int MakeTextFilePath(char* path, std::size_t capacity, const char* folder, const char* title) {
    std::size_t n = strlen(folder);
    std::size_t separator = n > 0 ? 1 : 0;
    if (capacity < n + separator + ExtensionLength + 1) {
        if (capacity > 0) path[0] = '\0';
        return 0;
    }
    memmove(path, folder, n);
    if (separator) path[n] = '\\';
    BuildTextFileName(title, path + n + separator, capacity - n - separator);
    return 1;
}

int TextFileTitle(const char* name, char* title, std::size_t capacity) {
    std::size_t n = strlen(name);
    if (n < ExtensionLength || n - ExtensionLength >= capacity) return 0;
    for (std::size_t i = 0; i < ExtensionLength; ++i)
        if (Upper(name[n - ExtensionLength + i]) != Upper(Extension[i])) return 0;
    memcpy(title, name, n - ExtensionLength);
    title[n - ExtensionLength] = '\0';
    return 1;
}

bool IsFolderNameUsable(const char* name) {
    std::size_t n = strlen(name);
    if (n == 0 || n >= TextPathCapacity) return false;
    if (name[n - 1] == '.' || name[n - 1] == ' ') return false;  // also refuses "." and ".."
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (SjisIsLead(c)) {
            if (i + 1 >= n || !IsTrail(static_cast<unsigned char>(name[i + 1]))) return false;
            ++i;
            continue;
        }
        if (c < 0x20 || strchr("\\/:*?\"<>|", c)) return false;
    }
    const char* dot = strchr(name, '.');
    return !IsDeviceName(name, dot ? static_cast<std::size_t>(dot - name) : n);
}
