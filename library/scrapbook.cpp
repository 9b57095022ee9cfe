#include "library/scrapbook.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

char CurrentScrapFolder[ScrapNameCapacity] = "ScrapBook";
char FolderNames[ScrapFolderCount][ScrapNameCapacity];
char SelectedFolder[ScrapNameCapacity];

namespace {

// A path built from parts; false (path empty) when it had to be cut.
bool Compose(char* path, std::size_t capacity, int written) {
    if (written >= 0 && static_cast<std::size_t>(written) < capacity) return true;
    if (capacity > 0) path[0] = '\0';
    return false;
}

// The file system does not tell "scrapbook" from "ScrapBook".
bool IsDefaultFolder(const char* name) { return lstrcmpiA(name, DefaultScrapFolder) == 0; }

bool IsFolder(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether folder holds nothing but text files, so that deleting them empties it.
bool HoldsOnlyTextFiles(const char* folder) {
    char pattern[TextPathCapacity + 8];
    snprintf(pattern, sizeof pattern, "%s\\*", folder);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return true;
    char title[TextPathCapacity];
    bool only = true;
    do {
        if (!strcmp(found.cFileName, ".") || !strcmp(found.cFileName, "..")) continue;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            !TextFileTitle(found.cFileName, title, sizeof title))
            only = false;
    } while (only && FindNextFileA(search, &found));
    FindClose(search);
    return only;
}

bool IsFile(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int ScrapRootPath(char* path, std::size_t capacity, const char* dataFolder) {
    return Compose(path, capacity, snprintf(path, capacity, "%s\\ScrapBook", dataFolder)) ? 1 : 0;
}

int ScrapFolderPath(char* path, std::size_t capacity, const char* dataFolder, const char* folder) {
    if (!IsFolderNameUsable(folder)) return Compose(path, capacity, -1);
    return Compose(path, capacity, snprintf(path, capacity, "%s\\ScrapBook\\%s", dataFolder, folder)) ? 1 : 0;
}

int ScrapArticlePath(char* path, std::size_t capacity, const char* dataFolder, const char* folder,
                     const char* name) {
    // Article names come from listings of *.txt files, so they are single file names already.
    if (!IsFolderNameUsable(folder) || strpbrk(name, "\\/:") || !strcmp(name, "..") || !strcmp(name, "."))
        return Compose(path, capacity, -1);
    int n = snprintf(path, capacity, "%s\\ScrapBook\\%s\\%s.txt", dataFolder, folder, name);
    return Compose(path, capacity, n) ? 1 : 0;
}

int ListScrapFolders(const char* dataFolder) {
    char pattern[TextPathCapacity + 8];
    if (!ScrapRootPath(pattern, sizeof pattern - 3, dataFolder)) return 0;
    strcat(pattern, "\\?*");
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do {
        if (!strcmp(found.cFileName, ".") || !strcmp(found.cFileName, "..")) continue;
        snprintf(FolderNames[count], ScrapNameCapacity, "%s", found.cFileName);
        ++count;
    } while (count < ScrapFolderCount && FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

int FindScrapFolder(const char* name, int count) {
    for (int i = 0; i < count && i < ScrapFolderCount; ++i)
        if (!strcmp(FolderNames[i], name)) return i;
    return -1;
}

int MoveArticleFile(const char* dataFolder, const char* fromFolder, const char* name, const char* toFolder) {
    char source[TextPathCapacity], target[TextPathCapacity];
    if (!ScrapArticlePath(source, sizeof source, dataFolder, fromFolder, name) ||
        !ScrapArticlePath(target, sizeof target, dataFolder, toFolder, name))
        return 0;
    if (!IsFile(source)) return 0;
    if (lstrcmpiA(source, target) == 0) return 1;
    return MoveFileA(source, target) ? 1 : 0;  // refuses an existing target
}

int DeleteArticleFile(const char* dataFolder, const char* folder, const char* name) {
    char path[TextPathCapacity];
    if (!ScrapArticlePath(path, sizeof path, dataFolder, folder, name)) return 0;
    if (DeleteFileA(path)) return 1;
    return Exists(path) ? 0 : 1;
}

int CreateScrapFolder(const char* dataFolder, const char* name) {
    char path[TextPathCapacity];
    if (!ScrapFolderPath(path, sizeof path, dataFolder, name)) return 0;
    return CreateDirectoryA(path, nullptr) ? 1 : 0;
}

int RenameScrapFolderTo(const char* dataFolder, const char* oldName, const char* newName) {
    char from[TextPathCapacity], to[TextPathCapacity];
    if (IsDefaultFolder(oldName) || !ScrapFolderPath(from, sizeof from, dataFolder, oldName) ||
        !ScrapFolderPath(to, sizeof to, dataFolder, newName))
        return 0;
    if (!IsFolder(from)) return 0;
    return MoveFileA(from, to) ? 1 : 0;
}

int RemoveScrapFolder(const char* dataFolder, const char* name) {
    char path[TextPathCapacity];
    if (IsDefaultFolder(name) || !ScrapFolderPath(path, sizeof path, dataFolder, name)) return 0;
    if (!IsFolder(path)) return 0;
    if (RemoveDirectoryA(path)) return 1;
    // Its articles go with it; a folder that holds anything else is kept whole.
    if (!HoldsOnlyTextFiles(path) || !DeleteAllTextFiles(path)) return 0;
    return RemoveDirectoryA(path) ? 1 : 0;
}
