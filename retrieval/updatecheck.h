// Whether the maker has published a newer release: the version file on the maker's site holds
// the latest release number in its first four bytes. The host is the source address
// SourceMakerSite, so that tests can point it at the local site.
#pragma once
#include <cstddef>

// This program's release number (11.39).
constexpr int OwnReleaseNumber = 1139;
// The version file's first bytes that count, and the buffer it is downloaded into.
constexpr int ReleaseNumberDigits = 4;
constexpr size_t VersionFileCapacity = 256;

// The number in the first four bytes of a version file, read as a decimal conversion does
// (leading blanks, an optional sign, digits up to the first other byte); 0 without digits.
int ReleaseNumberOf(const char* versionFile);

bool IsNewerRelease(int releaseNumber);

// The addresses of the version file and of the product page on the configured maker site.
// Always terminated; cut at capacity.
void VersionFileAddress(char* buffer, size_t capacity);
void ProductPageAddress(char* buffer, size_t capacity);

enum class UpdateStatus { Unreachable, Current, NewerRelease };

// The deadline of the check made at start-up, which holds up the first view of the window:
// 8 s, or the downloads' own deadline when that is shorter.
unsigned StartupUpdateDeadline();

// Downloads the version file (blocking; Win32 only) and compares it with this release. Within
// deadlineMs, or the downloads' own deadline with 0.
UpdateStatus FetchUpdateStatus(unsigned deadlineMs = 0);
