#include "retrieval/updatecheck.h"

#include <cstdio>

#include "retrieval/sources.h"

namespace {

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

void MakerSitePath(const char* path, char* buffer, size_t capacity) {
    if (capacity == 0) return;
    snprintf(buffer, capacity, "%s%s", SourceAddress(SourceMakerSite), path);
}

}  // namespace

int ReleaseNumberOf(const char* versionFile) {
    if (!versionFile) return 0;
    int at = 0;
    while (at < ReleaseNumberDigits && Blank(versionFile[at])) at++;
    bool negative = false;
    if (at < ReleaseNumberDigits && (versionFile[at] == '+' || versionFile[at] == '-'))
        negative = versionFile[at++] == '-';
    int number = 0;
    for (; at < ReleaseNumberDigits && versionFile[at] >= '0' && versionFile[at] <= '9'; at++)
        number = number * 10 + (versionFile[at] - '0');
    return negative ? -number : number;
}

bool IsNewerRelease(int releaseNumber) { return releaseNumber > OwnReleaseNumber; }

void VersionFileAddress(char* buffer, size_t capacity) {
    MakerSitePath("/appversion/tavlo1100.ver", buffer, capacity);
}

void ProductPageAddress(char* buffer, size_t capacity) { MakerSitePath("/tavlo/", buffer, capacity); }
