#include "retrieval/updatecheck.h"

#include "retrieval/fetch.h"

unsigned StartupUpdateDeadline() {
    const unsigned startup = 8000;
    return DefaultFetchDeadline() < startup ? DefaultFetchDeadline() : startup;
}

UpdateStatus FetchUpdateStatus(unsigned deadlineMs) {
    char address[1024];
    VersionFileAddress(address, sizeof address);
    char versionFile[VersionFileCapacity] = {};
    FetchLimits limits;
    limits.deadlineMs = deadlineMs;
    if (!FetchPage(address, versionFile, sizeof versionFile, limits)) return UpdateStatus::Unreachable;
    return IsNewerRelease(ReleaseNumberOf(versionFile)) ? UpdateStatus::NewerRelease : UpdateStatus::Current;
}
