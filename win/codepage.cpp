#include "win/codepage.h"

#include <cstring>

#include "win/handles.h"

namespace win {

bool Utf8ToShiftJisInPlace(char* buffer, size_t capacity) {
    if (!buffer || capacity == 0) return false;
    int wideLength = MultiByteToWideChar(CP_UTF8, 0, buffer, -1, nullptr, 0);
    if (wideLength <= 0) return false;
    HeapBuffer wide(static_cast<size_t>(wideLength) * sizeof(wchar_t));
    if (!wide.get()) return false;
    wchar_t* units = reinterpret_cast<wchar_t*>(wide.get());
    MultiByteToWideChar(CP_UTF8, 0, buffer, -1, units, wideLength);
    int length = WideCharToMultiByte(ShiftJisCodePage, 0, units, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0 || static_cast<size_t>(length) > capacity) return false;
    HeapBuffer converted(static_cast<size_t>(length));
    if (!converted.get() ||
        WideCharToMultiByte(ShiftJisCodePage, 0, units, -1, converted.get(), length, nullptr, nullptr) <= 0)
        return false;
    std::memcpy(buffer, converted.get(), static_cast<size_t>(length));
    return true;
}

}  // namespace win
