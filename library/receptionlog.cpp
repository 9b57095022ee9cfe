#include "library/receptionlog.h"

#include <cstdio>
#include <cstring>

#include "retrieval/sjis.h"

namespace {

void CopyCut(char* dest, const char* text) { std::snprintf(dest, LogTextCapacity, "%s", text ? text : ""); }

void MoveEntry(ReceptionLog& log, int from, int to) {
    std::memcpy(log.FilePath[to], log.FilePath[from], LogTextCapacity);
    std::memcpy(log.FileName[to], log.FileName[from], LogTextCapacity);
    log.Number[to] = log.Number[from];
}

}  // namespace

void ClearLogEntries(ReceptionLog& log) {
    std::memset(log.FilePath, 0, sizeof log.FilePath);
    std::memset(log.FileName, 0, sizeof log.FileName);
    std::memset(log.Number, 0, sizeof log.Number);
}

void SetLogEntry(ReceptionLog& log, int position, const char* filePath, const char* fileName,
                 int32_t number) {
    if (position < 0 || position >= LogCapacity) return;
    CopyCut(log.FilePath[position], filePath);
    CopyCut(log.FileName[position], fileName);
    log.Number[position] = number;
}

int UsedLogEntries(const ReceptionLog& log) {
    int n = 0;
    while (n < LogCapacity && log.FilePath[n][0] != '\0') ++n;
    return n;
}

bool LogIsFull(const ReceptionLog& log) { return log.FilePath[LogCapacity - 1][0] != '\0'; }

bool LogHasName(const ReceptionLog& log, const char* fileName) {
    for (int i = 0; i < LogCapacity; ++i)
        if (std::strcmp(log.FileName[i], fileName) == 0) return true;
    return false;
}

void PutLogEntryOnTop(ReceptionLog& log, const char* filePath, const char* fileName, int32_t number) {
    // The name is compared as the log will hold it, cut to 260 bytes.
    char name[LogTextCapacity];
    CopyCut(name, fileName);
    int last = LogCapacity - 1;  // no match: the oldest position is overwritten
    for (int i = 0; i < LogCapacity; ++i)
        if (std::strcmp(log.FileName[i], name) == 0) last = i;
    for (int j = last - 1; j >= 0; --j) MoveEntry(log, j, j + 1);
    // The new file and number are stored even when the name was there: a category of the same
    // name from another file must reopen the one received last.
    SetLogEntry(log, 0, filePath, name, number);
}

bool RemoveLogEntryNamed(ReceptionLog& log, const char* filePath, const char* fileName) {
    if (filePath[0] == '\0') return false;  // an unused position is not an entry
    for (int s = 0; s < LogCapacity; ++s) {
        if (std::strcmp(log.FilePath[s], filePath) != 0 || std::strcmp(log.FileName[s], fileName) != 0)
            continue;
        for (int i = s; i + 1 < LogCapacity; ++i) MoveEntry(log, i + 1, i);
        SetLogEntry(log, LogCapacity - 1, "", "", 0);
        return true;
    }
    return false;
}

bool IsCategoryFileName(const char* name) {
    if (!name || !*name) return false;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return false;
    for (const char* p = name; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (SjisIsLead(c) && p[1]) {
            ++p;  // a trail byte may be 0x5C or 0x7C and is part of the character
            continue;
        }
        if (c < 0x20 || c == 0x7F || std::strchr("\\/:*?\"<>|", c)) return false;
    }
    // Windows drops trailing dots and spaces, so "x.txt." would name another file than shown.
    const char last = name[std::strlen(name) - 1];
    return last != '.' && last != ' ';
}
