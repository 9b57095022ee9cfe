#include "win/plaintext.h"

#include <richedit.h>

#include <cstring>

namespace win {

namespace {

struct TextSource {
    const char* next;
    size_t left;
};

DWORD CALLBACK ReadTextSource(DWORD_PTR cookie, LPBYTE buffer, LONG capacity, LONG* read) {
    auto* source = reinterpret_cast<TextSource*>(cookie);
    size_t n = source->left < static_cast<size_t>(capacity) ? source->left : static_cast<size_t>(capacity);
    std::memcpy(buffer, source->next, n);
    source->next += n;
    source->left -= n;
    *read = static_cast<LONG>(n);
    return 0;
}

// Both Rich Edit classes ("RICHEDIT", "RichEdit20A"); any other control takes set-text as it is.
bool IsRichEdit(HWND control) {
    char name[32] = "";
    GetClassNameA(control, name, sizeof name);
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name, 8, "RICHEDIT", 8) == CSTR_EQUAL;
}

void StreamIn(HWND control, const char* text, WPARAM format) {
    if (!text) text = "";
    TextSource source{text, std::strlen(text)};
    const LRESULT limit = SendMessageA(control, EM_GETLIMITTEXT, 0, 0);
    if (limit >= 0 && static_cast<size_t>(limit) < source.left)
        SendMessageA(control, EM_EXLIMITTEXT, 0, static_cast<LPARAM>(source.left));
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadTextSource;
    SendMessageA(control, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
}

}  // namespace

void SetRichEditPlainText(HWND control, const char* text) {
    if (!IsRichEdit(control)) {
        SetWindowTextA(control, text ? text : "");
        return;
    }
    StreamIn(control, text, SF_TEXT);
    SendMessageA(control, EM_SETSEL, 0, 0);
    SendMessageA(control, EM_EMPTYUNDOBUFFER, 0, 0);
    SendMessageA(control, EM_SETMODIFY, FALSE, 0);
}

void ReplaceRichEditSelectionPlain(HWND control, const char* text) {
    if (!IsRichEdit(control)) {
        SendMessageA(control, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text ? text : ""));
        return;
    }
    StreamIn(control, text, SF_TEXT | SFF_SELECTION);
}

}  // namespace win
