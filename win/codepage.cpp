#include "win/codepage.h"

#include <cstring>

#include "win/handles.h"

namespace win {

namespace {

// Shift-JIS has no character beyond the first plane: a surrogate pair becomes one stand-in
// (the conversion would give one for each half).
void FoldSurrogatePairs(wchar_t* wide) {
    wchar_t* out = wide;
    for (const wchar_t* in = wide; *in; ++in) {
        if (in[0] >= 0xD800 && in[0] <= 0xDBFF && in[1] >= 0xDC00 && in[1] <= 0xDFFF) {
            *out++ = 0x30FB;  // the middle dot of the stand-in
            ++in;
        } else {
            *out++ = *in;
        }
    }
    *out = L'\0';
}

// The longest prefix of text that fits in limit bytes without splitting a character.
size_t ShiftJisFit(const char* text, size_t length, size_t limit) {
    if (length <= limit) return length;
    size_t i = 0;
    while (i < limit) {
        size_t step = IsDBCSLeadByteEx(ShiftJisCodePage, static_cast<BYTE>(text[i])) ? 2 : 1;
        if (i + step > limit) break;
        i += step;
    }
    return i;
}

}  // namespace

bool Utf8ToShiftJisInPlace(char* buffer, size_t capacity) {
    if (!buffer || capacity == 0) return false;
    int wideLength = MultiByteToWideChar(CP_UTF8, 0, buffer, -1, nullptr, 0);
    if (wideLength <= 0) return false;
    HeapBuffer wide(static_cast<size_t>(wideLength) * sizeof(wchar_t));
    if (!wide.get()) return false;
    wchar_t* units = reinterpret_cast<wchar_t*>(wide.get());
    MultiByteToWideChar(CP_UTF8, 0, buffer, -1, units, wideLength);
    FoldSurrogatePairs(units);
    int length = WideCharToMultiByte(ShiftJisCodePage, 0, units, -1, nullptr, 0, ShiftJisStandIn, nullptr);
    if (length <= 0) return false;
    HeapBuffer converted(static_cast<size_t>(length));
    if (!converted.get() ||
        WideCharToMultiByte(
            ShiftJisCodePage, 0, units, -1, converted.get(), length, ShiftJisStandIn, nullptr) <= 0)
        return false;
    const size_t fit = ShiftJisFit(converted.get(), static_cast<size_t>(length) - 1, capacity - 1);
    std::memcpy(buffer, converted.get(), fit);
    buffer[fit] = '\0';
    return true;
}

bool ShiftJisToUtf8(const char* text, HeapBuffer& utf8) {
    int wideLength = MultiByteToWideChar(ShiftJisCodePage, 0, text, -1, nullptr, 0);
    if (wideLength <= 0) return false;
    HeapBuffer wide(static_cast<size_t>(wideLength) * sizeof(wchar_t));
    if (!wide.get()) return false;
    wchar_t* units = reinterpret_cast<wchar_t*>(wide.get());
    MultiByteToWideChar(ShiftJisCodePage, 0, text, -1, units, wideLength);
    int length = WideCharToMultiByte(CP_UTF8, 0, units, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return false;
    HeapBuffer converted(static_cast<size_t>(length));
    if (!converted.get() ||
        WideCharToMultiByte(CP_UTF8, 0, units, -1, converted.get(), length, nullptr, nullptr) <= 0)
        return false;
    utf8.Swap(converted);
    return true;
}

}  // namespace win
