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

// The same through URL monikers: the fallback when FetchPage cannot get a headline list.
int FetchPageViaMoniker(const char* address, char* destination, size_t capacity);
