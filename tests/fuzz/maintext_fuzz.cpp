// Drives the main-text extraction and the reference decoding with hostile pages. The page
// buffer is exactly as large as the page, so any read or write past it is reported; the text
// that comes out is never longer than the page and ends within the buffer.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "retrieval/charrefs.h"
#include "retrieval/maintext.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> page(data, data + size);
    page.push_back('\0');
    const std::size_t length = std::strlen(page.data());

    std::vector<char> decoded(page.begin(), page.begin() + static_cast<std::ptrdiff_t>(length) + 1);
    DecodeReferencesUtf8(decoded.data());
    Check(std::strlen(decoded.data()) <= length);

    const int found = ExtractMainText(page.data());
    const std::size_t text = std::strlen(page.data());
    Check(text <= length);
    Check(found ? text > 0 : text == 0);
    for (std::size_t i = 0; i < text; ++i) Check(page[i] != '<' && page[i] != '>');
    return 0;
}
