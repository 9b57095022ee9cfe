// Paths for the Win32 tests: the build folders named by the test environment, in Windows form,
// and scratch folders of their own.
#pragma once
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

// A Unix path as Wine sees it (drive Z: is the root); anything else unchanged.
inline std::string WindowsPath(const char* path) {
    std::string out = path ? path : "";
    if (out.size() > 1 && out[0] == '/') {
        for (char& c : out)
            if (c == '/') c = '\\';
        out = "Z:" + out;
    }
    return out;
}

// The Win32 build folder (TAVLO_DOUBLES), empty when the variable is not set.
inline std::string BuildFolder() { return WindowsPath(std::getenv("TAVLO_DOUBLES")); }

inline void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

// A fresh empty folder in the temporary folder, named after the test and the process.
inline std::string ScratchFolder(const std::string& name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + name + "_" + std::to_string(GetCurrentProcessId());
    RemoveTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

inline bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
