// Helpers shared by the native tests that read fixture pages and check buffer bounds.
#pragma once

#include <cstddef>
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
