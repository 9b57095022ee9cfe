#include <windows.h>

#include <cstdio>
#include <cstring>

#include "library/receptionlog.h"

ReceptionLog History;
ReceptionLog Favorites;

namespace {

const char* const Sections[3] = {"FilePath", "FileName", "Number"};

// One section as WritePrivateProfileSection takes it: "key=value" strings, each ended by a
// zero, and one more zero at the end. Fifty keys of at most 12 bytes and values of at most
// 260 bytes fit.
constexpr int SectionCapacity = LogCapacity * (16 + LogTextCapacity) + 1;

int FillSection(const ReceptionLog& log, int section, char* out) {
    int used = 0;
    for (int i = 0; i < LogCapacity; ++i) {
        char number[16];
        const char* value = section == 0 ? log.FilePath[i] : section == 1 ? log.FileName[i] : number;
        if (section == 2) std::snprintf(number, sizeof number, "%d", static_cast<int>(log.Number[i]));
        int written =
            std::snprintf(out + used, SectionCapacity - 1 - used, "%s%d=%s", Sections[section], i, value);
        if (written < 0 || written >= SectionCapacity - 1 - used) return -1;
        used += written + 1;  // keep the zero that ends the string
    }
    out[used] = '\0';
    return used;
}

}  // namespace

void BindLogFile(ReceptionLog& log, const char* folder, const char* name) {
    std::snprintf(log.File, sizeof log.File, "%s%s", folder, name);
}

int LoadLog(ReceptionLog& log) {
    for (int i = 0; i < LogCapacity; ++i) {
        char key[24];
        std::snprintf(key, sizeof key, "FilePath%d", i);
        GetPrivateProfileStringA("FilePath", key, "", log.FilePath[i], LogTextCapacity, log.File);
        std::snprintf(key, sizeof key, "FileName%d", i);
        GetPrivateProfileStringA("FileName", key, "", log.FileName[i], LogTextCapacity, log.File);
        std::snprintf(key, sizeof key, "Number%d", i);
        log.Number[i] = static_cast<int32_t>(GetPrivateProfileIntA("Number", key, 0, log.File));
    }
    return 1;
}

int SaveLog(const ReceptionLog& log) {
    static char section[SectionCapacity];  // main thread only
    for (int s = 0; s < 3; ++s) {
        if (FillSection(log, s, section) < 0) return 0;
        if (!WritePrivateProfileSectionA(Sections[s], section, log.File)) return 0;
    }
    // Flush the profile cache so that the file on disk is complete when we return.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, log.File);
    return 1;
}

int AddLogEntry(ReceptionLog& log, const char* filePath, const char* fileName, int32_t number) {
    LoadLog(log);
    PutLogEntryOnTop(log, filePath, fileName, number);
    return SaveLog(log);
}

int RemoveLogEntry(ReceptionLog& log, const char* filePath, const char* fileName) {
    LoadLog(log);
    if (!RemoveLogEntryNamed(log, filePath, fileName)) return 1;  // already gone from the file
    return SaveLog(log);
}
