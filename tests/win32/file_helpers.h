// Files and folders of the Win32 tests that work on a real file system.
#pragma once
#include <windows.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

inline std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Every file under folder, with its path relative to folder.
inline void Walk(const std::string& folder, const std::string& prefix, std::set<std::string>* out) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            Walk(folder + "\\" + name, prefix + name + "\\", out);
        else
            out->insert(prefix + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// Removes folder with everything in it.
inline void RemoveTree(const std::string& folder) {
    std::set<std::string> files;
    Walk(folder, "", &files);
    for (const std::string& file : files) {
        SetFileAttributesA((folder + "\\" + file).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA((folder + "\\" + file).c_str());
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name != "." && name != ".." && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                RemoveTree(folder + "\\" + name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}
