// A page in a heap buffer of its own, with room to spare: the cut rules work in place, and
// AddressSanitizer catches every read or write past the buffer.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

struct Heap {
    std::vector<char> bytes;
    Heap(const std::string& text, std::size_t room) : bytes(std::strlen(text.c_str()) + 1 + room, '\0') {
        std::memcpy(bytes.data(), text.c_str(), std::strlen(text.c_str()));
    }
    char* p() { return bytes.data(); }
    std::size_t capacity() const { return bytes.size(); }
    bool Ends() const { return std::memchr(bytes.data(), '\0', bytes.size()) != nullptr; }
};
