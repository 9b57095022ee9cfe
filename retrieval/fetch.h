// Downloading one document. Every network access of the program goes through here.
#pragma once

#include <cstddef>

// Fetches the document at address (ANSI, system code page) with a blocking GET over TLS to
// port 443 and stores its body, as received, into destination as a NUL-terminated string.
// A body longer than capacity - 1 bytes is cut there. The HTTP status does not matter: an
// error page is returned like any other page.
// Returns 1 on success and 0 when the address, the connection, the certificate, the request
// or the transfer failed; on 0 the destination is left as it was.
int FetchPage(const char* address, char* destination, size_t capacity);

// Fetches the document at address as FetchPage does and writes its body, byte for byte, into
// the file at path (ANSI), replacing it. A body longer than limit bytes is cut there (limit
// must stay below 4 GB). Returns 1 on success and 0 when the fetch or the file failed; no
// partly written file is left then.
int FetchToFile(const char* address, const char* path, size_t limit);

// The same through URL monikers: the fallback when FetchPage cannot get a headline list.
int FetchPageViaMoniker(const char* address, char* destination, size_t capacity);
