#include "retrieval/pagecode.h"

#include <cstring>

#include "retrieval/charrefs.h"
#include "retrieval/sjis.h"
#include "win/codepage.h"
#include "win/handles.h"

bool ConvertReceivedPage(char* page, std::size_t capacity, bool fromUtf8) {
    if (capacity == 0) return false;
    if (fromUtf8) {
        if (std::strncmp(page, "\xEF\xBB\xBF", 3) == 0)
            std::memmove(page, page + 3, std::strlen(page + 3) + 1);
        DecodeReferencesUtf8(page);  // shrinks the text in place
        return win::Utf8ToShiftJisInPlace(page, capacity);
    }
    // Shift-JIS pages go through UTF-8 so that their references are decoded the same way.
    if (!std::strchr(page, '&')) return true;
    win::HeapBuffer utf8(1);
    if (!win::ShiftJisToUtf8(page, utf8)) return false;
    DecodeReferencesUtf8(utf8.get());
    if (!win::Utf8ToShiftJisInPlace(utf8.get(), utf8.capacity())) return false;
    SjisCopyCut(page, capacity, utf8.get(), std::strlen(utf8.get()));
    return true;
}
