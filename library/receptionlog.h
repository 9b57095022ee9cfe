// The reception history and the favorites: two lists of fifty categories (or radio stations),
// most recent first, each kept in an INI file of the data folder.
#pragma once
#include <cstdint>

constexpr int LogCapacity = 50;
constexpr int LogTextCapacity = 261;  // 260 bytes of Shift-JIS and the terminating zero
constexpr int LogFileCapacity = 520;

// Position 0 is the most recent entry; a position whose FilePath is empty is unused, and the
// used positions are always 0..n-1.
struct ReceptionLog {
    char File[LogFileCapacity];                   // the INI file the log is kept in
    char FilePath[LogCapacity][LogTextCapacity];  // the category file, or a station's address
    char FileName[LogCapacity][LogTextCapacity];  // the name shown in the list
    int32_t Number[LogCapacity];                  // the category number, or 601 for a station
};

// Empties every position (the file name stays).
void ClearLogEntries(ReceptionLog& log);

// Stores one position; the texts are cut to 260 bytes.
void SetLogEntry(ReceptionLog& log, int position, const char* filePath, const char* fileName, int32_t number);

// Used positions: 0 up to the first empty FilePath.
int UsedLogEntries(const ReceptionLog& log);

// Whether the last position holds an entry.
bool LogIsFull(const ReceptionLog& log);

// Whether any of the fifty positions, unused ones included, carries exactly this name.
bool LogHasName(const ReceptionLog& log, const char* fileName);

// Puts (filePath, fileName, number) at position 0. An entry of the same name leaves its old
// place (the last one when a hand-edited file holds several); otherwise the oldest entry falls
// out of a full log.
void PutLogEntryOnTop(ReceptionLog& log, const char* filePath, const char* fileName, int32_t number);

// Removes the first entry with this file and name, moving the later ones up. Returns false when
// no entry matches.
bool RemoveLogEntryNamed(ReceptionLog& log, const char* filePath, const char* fileName);

// Whether a category file named in a log (or a menu) may be opened: a plain file name of the
// News folder, Shift-JIS, with no folder part, drive or parent step, nothing the file system
// would read differently, and not empty. Logs live in a folder every local user can write to.
bool IsCategoryFileName(const char* name);

// The two logs of the program, each in its file of the data folder.
extern ReceptionLog History;
extern ReceptionLog Favorites;
constexpr char HistoryFileName[] = "\\history.log";
constexpr char FavoritesFileName[] = "\\BookMark.log";

// File side (Win32 only): the INI file written with the profile functions, sections
// "FilePath", "FileName" and "Number" with the keys "FilePath0".."FilePath49" and so on, all
// 150 keys always written.

// Sets the file of a log: folder followed by name (HistoryFileName or FavoritesFileName).
void BindLogFile(ReceptionLog& log, const char* folder, const char* name);

// Fills all fifty positions from the file; a missing file or key reads as empty, a number that
// is not one as 0. Returns 1.
int LoadLog(ReceptionLog& log);

// Writes the fifty positions. Returns 1, or 0 when the file could not be written.
int SaveLog(const ReceptionLog& log);

// Loads the log from its file, puts the entry on top (PutLogEntryOnTop) and saves it.
// Returns what SaveLog returned.
int AddLogEntry(ReceptionLog& log, const char* filePath, const char* fileName, int32_t number);

// Loads the log from its file, removes the entry with this file and name and saves it.
// Returns 1 when the file no longer holds the entry, 0 when it could not be written.
int RemoveLogEntry(ReceptionLog& log, const char* filePath, const char* fileName);
