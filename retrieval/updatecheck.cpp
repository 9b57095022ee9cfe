#include "retrieval/updatecheck.h"

#include "retrieval/fetch.h"

UpdateStatus FetchUpdateStatus() {
    char address[1024];
    VersionFileAddress(address, sizeof address);
    char versionFile[VersionFileCapacity] = {};
    if (!FetchPage(address, versionFile, sizeof versionFile)) return UpdateStatus::Unreachable;
    return IsNewerRelease(ReleaseNumberOf(versionFile)) ? UpdateStatus::NewerRelease : UpdateStatus::Current;
}
