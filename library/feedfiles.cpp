#include "library/feedfiles.h"

#include <windows.h>

#include <cstdio>

#include "win/handles.h"

namespace {

constexpr std::size_t FeedFileLimit = 4 * 1024 * 1024;

// CreateFileA with nullptr instead of INVALID_HANDLE_VALUE, for the kernel handle owner.
HANDLE OpenFile(const char* path, DWORD access, DWORD share, DWORD disposition) {
    HANDLE file = CreateFileA(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

void SeenPath(const char* dataFolder, int id, char* path, std::size_t capacity) {
    std::snprintf(path, capacity, "%s\\MyFeeds\\seen%d.txt", dataFolder, id);
}

}  // namespace

void UserFeedFilePath(const char* dataFolder, char* path, std::size_t capacity) {
    std::snprintf(path, capacity, "%s\\MyFeeds.ini", dataFolder);
}

bool ReadWholeFile(const char* path, std::string& text, std::size_t limit) {
    win::KernelHandle file(OpenFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    if (!file) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return false;
    // A larger file is not read at all: a part of it, written back, would lose the rest.
    if (static_cast<unsigned long long>(size.QuadPart) > limit) return false;
    std::size_t length = static_cast<std::size_t>(size.QuadPart);
    text.assign(length, '\0');
    DWORD read = 0;
    if (length > 0 && (!ReadFile(file.get(), &text[0], static_cast<DWORD>(length), &read, nullptr)))
        return false;
    text.resize(read);
    return true;
}

bool ReplaceFileText(const char* path, const std::string& text) {
    char temporary[MAX_PATH * 2 + 8];
    std::snprintf(temporary, sizeof temporary, "%s.tmp", path);
    {
        win::KernelHandle file(OpenFile(temporary, GENERIC_WRITE, 0, CREATE_ALWAYS));
        if (!file) return false;
        DWORD written = 0;
        bool whole = text.empty() ||
                     (WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                      written == text.size());
        if (!whole || !FlushFileBuffers(file.get())) {
            file.Reset();
            DeleteFileA(temporary);
            return false;
        }
    }
    if (MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileA(temporary);
    return false;
}

FeedFileState LoadUserFeeds(const char* dataFolder, FeedList& list) {
    char path[MAX_PATH * 2];
    UserFeedFilePath(dataFolder, path, sizeof path);
    list.feeds.clear();
    std::string text;
    if (!ReadWholeFile(path, text, FeedFileLimit))
        return GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES ? FeedFileState::Missing
                                                                   : FeedFileState::Unreadable;
    FeedFileReading reading = ParseFeedFile(text.data(), text.size());
    list = reading.list;
    if (!reading.damaged) return FeedFileState::Read;
    char backup[MAX_PATH * 2 + 8];
    std::snprintf(backup, sizeof backup, "%s.bak", path);
    CopyFileA(path, backup, FALSE);
    return FeedFileState::Damaged;
}

bool SaveUserFeeds(const char* dataFolder, const FeedList& list) {
    char path[MAX_PATH * 2];
    UserFeedFilePath(dataFolder, path, sizeof path);
    return ReplaceFileText(path, FormatFeedFile(list));
}

std::vector<std::string> LoadSeenItems(const char* dataFolder, int id) {
    char path[MAX_PATH * 2];
    SeenPath(dataFolder, id, path, sizeof path);
    std::string text;
    if (!ReadWholeFile(path, text, SeenLimit * 2100)) return {};
    return ParseSeenFile(text.data(), text.size());
}

bool SaveSeenItems(const char* dataFolder, int id, const std::vector<std::string>& keys) {
    char folder[MAX_PATH * 2];
    std::snprintf(folder, sizeof folder, "%s\\MyFeeds", dataFolder);
    CreateDirectoryA(folder, nullptr);
    char path[MAX_PATH * 2];
    SeenPath(dataFolder, id, path, sizeof path);
    return ReplaceFileText(path, FormatSeenFile(keys));
}

void RemoveSeenItems(const char* dataFolder, int id) {
    char path[MAX_PATH * 2];
    SeenPath(dataFolder, id, path, sizeof path);
    DeleteFileA(path);
}
