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

// text (terminated) as UTF-16 into wide; false when it cannot be converted.
bool Widen(UINT codePage, const char* text, HeapBuffer& wide) {
    int length = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (length <= 0) return false;
    HeapBuffer units(static_cast<size_t>(length) * sizeof(wchar_t));
    if (!units.get()) return false;
    MultiByteToWideChar(codePage, 0, text, -1, reinterpret_cast<wchar_t*>(units.get()), length);
    wide.Swap(units);
    return true;
}

// The UTF-16 text (terminated) in codePage into text, standIn for what it lacks (null: the
// code page's own); false when it cannot be converted.
bool Narrow(UINT codePage, const wchar_t* wide, const char* standIn, HeapBuffer& text) {
    int length = WideCharToMultiByte(codePage, 0, wide, -1, nullptr, 0, standIn, nullptr);
    if (length <= 0) return false;
    HeapBuffer bytes(static_cast<size_t>(length));
    if (!bytes.get() ||
        WideCharToMultiByte(codePage, 0, wide, -1, bytes.get(), length, standIn, nullptr) <= 0)
        return false;
    text.Swap(bytes);
    return true;
}

}  // namespace

bool Utf8ToShiftJisInPlace(char* buffer, size_t capacity) {
    if (!buffer || capacity == 0) return false;
    HeapBuffer wide(1), converted(1);
    if (!Widen(CP_UTF8, buffer, wide)) return false;
    FoldSurrogatePairs(reinterpret_cast<wchar_t*>(wide.get()));
    if (!Narrow(ShiftJisCodePage, reinterpret_cast<wchar_t*>(wide.get()), ShiftJisStandIn, converted))
        return false;
    const size_t fit = ShiftJisFit(converted.get(), std::strlen(converted.get()), capacity - 1);
    std::memcpy(buffer, converted.get(), fit);
    buffer[fit] = '\0';
    return true;
}

bool ShiftJisToUtf8(const char* text, HeapBuffer& utf8) {
    HeapBuffer wide(1);
    return Widen(ShiftJisCodePage, text, wide) &&
           Narrow(CP_UTF8, reinterpret_cast<wchar_t*>(wide.get()), nullptr, utf8);
}

}  // namespace win
