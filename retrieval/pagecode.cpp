#include "retrieval/pagecode.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <new>

#include "retrieval/charrefs.h"
#include "retrieval/sjis.h"

namespace {

constexpr UINT ShiftJis = 932;

// The page as UTF-16, or null when memory is short.
std::unique_ptr<wchar_t[]> Widen(UINT codePage, const char* text, int* length) {
    *length = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
    if (*length <= 0) return nullptr;
    std::unique_ptr<wchar_t[]> wide(new (std::nothrow) wchar_t[*length]);
    if (wide) MultiByteToWideChar(codePage, 0, text, -1, wide.get(), *length);
    return wide;
}

std::unique_ptr<char[]> Narrow(UINT codePage, const wchar_t* wide, const char* standIn) {
    const int length = WideCharToMultiByte(codePage, 0, wide, -1, nullptr, 0, standIn, nullptr);
    if (length <= 0) return nullptr;
    std::unique_ptr<char[]> text(new (std::nothrow) char[length]);
    if (text && WideCharToMultiByte(codePage, 0, wide, -1, text.get(), length, standIn, nullptr) <= 0)
        text.reset();
    return text;
}

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

}  // namespace

bool ConvertReceivedPage(char* page, std::size_t capacity, bool fromUtf8) {
    if (capacity == 0) return false;
    std::unique_ptr<char[]> utf8;
    char* source = page;
    if (fromUtf8) {
        if (std::strncmp(page, "\xEF\xBB\xBF", 3) == 0) source += 3;
    } else {
        // Shift-JIS pages go through UTF-8 so that their references are decoded the same way.
        int wideLength = 0;
        std::unique_ptr<wchar_t[]> wide = Widen(ShiftJis, page, &wideLength);
        if (wide) utf8 = Narrow(CP_UTF8, wide.get(), nullptr);
        if (!utf8) return false;
        source = utf8.get();
    }
    DecodeReferencesUtf8(source);  // shrinks the text in place
    int wideLength = 0;
    std::unique_ptr<wchar_t[]> wide = Widen(CP_UTF8, source, &wideLength);
    if (!wide) return false;
    FoldSurrogatePairs(wide.get());
    std::unique_ptr<char[]> sjis = Narrow(ShiftJis, wide.get(), SjisStandIn);
    if (!sjis) return false;
    SjisCopyCut(page, capacity, sjis.get(), std::strlen(sjis.get()));
    return true;
}
