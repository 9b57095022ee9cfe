// Downloading one document. Every network access of the program goes through here.
#pragma once

#include <cstddef>

// What bounds a download besides its size: an overall deadline (the server may trickle its
// answer for as long as it likes otherwise) and, for downloads that can be superseded, a
// question asked while it runs whether it is still wanted.
struct FetchLimits {
    unsigned deadlineMs = 0;                     // 0: DefaultFetchDeadline()
    bool (*keepGoing)(void* context) = nullptr;  // false ends the download with result 0
    void* context = nullptr;
};

// The overall deadline of one download: 60 s, or the milliseconds in the environment variable
// TAVLO_FETCH_DEADLINE_MS at start-up (a switch for the tests only).
unsigned DefaultFetchDeadline();

// Fetches the document at address (ANSI, system code page) with a blocking GET over TLS 1.2 or
// 1.3 to port 443 and stores its body, as received, into destination as a NUL-terminated
// string. A body longer than capacity - 1 bytes is cut there. The HTTP status does not matter:
// an error page is returned like any other page. Redirections are followed to https addresses
// only (at most 10); a redirection elsewhere is a failure.
// Returns 1 on success and 0 when the address, the connection, the certificate, the request
// or the transfer failed, the deadline passed or the download was no longer wanted; on 0 the
// destination is left as it was.
int FetchPage(const char* address, char* destination, size_t capacity);
int FetchPage(const char* address, char* destination, size_t capacity, const FetchLimits& limits);

// Fetches the document at address as FetchPage does and writes its body, byte for byte, into
// the file at path (ANSI), replacing it, as it arrives. A body longer than limit bytes is cut
// there (limit must stay below 4 GB). Returns 1 on success and 0 when the fetch or the file
// failed; no partly written file is left then.
int FetchToFile(const char* address, const char* path, size_t limit, const FetchLimits& limits = FetchLimits());

// The same through URL monikers: the fallback when FetchPage cannot get a headline list. Only
// https addresses are fetched this way, within a deadline of its own (limits as for FetchPage).
int FetchPageViaMoniker(const char* address, char* destination, size_t capacity);
int FetchPageViaMoniker(const char* address, char* destination, size_t capacity, const FetchLimits& limits);
