// Helpers shared by the native tests that read fixture pages and check buffer bounds.
#pragma once

#include <cstddef>
#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The repository root, from this file's place in it.
inline std::string Root() {
    std::string file = __FILE__;
    return file.substr(0, file.rfind("/tests/native/"));
}

inline bool ReadFile(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream out;
    out << in.rdbuf();
    *text = out.str();
    return true;
}

// UTF-8 text in Shift-JIS, as the program converts a received page: a character that
// Shift-JIS lacks becomes '?'. Text that is not UTF-8 is returned as it is.
inline std::string ToShiftJis(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return utf8;
    std::string out;
    char buffer[8];
    std::size_t i = 0;
    while (i < utf8.size()) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (length == 0 || i + length > utf8.size()) {
            iconv_close(cd);
            return utf8;
        }
        char* in = const_cast<char*>(utf8.data() + i);
        std::size_t inLeft = length;
        char* to = buffer;
        std::size_t toLeft = sizeof buffer;
        if (iconv(cd, &in, &inLeft, &to, &toLeft) == static_cast<std::size_t>(-1)) {
            if (errno != EILSEQ) {
                iconv_close(cd);
                return utf8;
            }
            out += '?';
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        } else {
            out.append(buffer, to);
        }
        i += length;
    }
    iconv_close(cd);
    return out;
}

// A saved page as the program holds it after reception: in Shift-JIS.
inline bool ReadPage(const std::string& path, std::string* text) {
    if (!ReadFile(path, text)) return false;
    *text = ToShiftJis(*text);
    return true;
}

// A heap buffer of capacity bytes holding text, with the rest filled by a pattern
// so that the sanitizers and the guard check see any write past the capacity.
struct Page {
    std::vector<char> bytes;
    std::size_t capacity;
    Page(const std::string& text, std::size_t capacity) : bytes(capacity + 64, '\x5A'), capacity(capacity) {
        std::size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
        std::memcpy(bytes.data(), text.data(), n);
        bytes[n] = '\0';
    }
    char* get() { return bytes.data(); }
    std::string str() const { return bytes.data(); }
    bool GuardIntact() const {
        for (std::size_t i = capacity; i < bytes.size(); ++i)
            if (bytes[i] != '\x5A') return false;
        return true;
    }
};
