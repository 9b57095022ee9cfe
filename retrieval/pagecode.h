// The code page of a received page: every page is cut and read in Shift-JIS, with the
// character references to non-ASCII characters decoded first (see charrefs.h).
#pragma once

#include <cstddef>

// Brings a received page (NUL-terminated, in a buffer of capacity bytes) into Shift-JIS.
// fromUtf8: the page is UTF-8 (a byte-order mark is dropped); otherwise it is Shift-JIS
// already and only its references are decoded. Characters that Shift-JIS lacks become the
// stand-in. The result is cut to the capacity on a character boundary. Returns false, the
// page unchanged, when memory for the conversion is not available.
bool ConvertReceivedPage(char* page, std::size_t capacity, bool fromUtf8);
