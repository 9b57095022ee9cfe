#include "library/textfiles.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "win/handles.h"
#include "win/plaintext.h"

char ArticleNames[ArticleTableCount][ArticleNameCount][ArticleNameCapacity];

namespace {

constexpr DWORD TitledCopyLimit = 102400;
constexpr DWORD ReadLimit = 64 * 1024 * 1024;  // far beyond any article; refuses a runaway file

// The file opened as asked (shared for reading), or null when it could not be.
HANDLE OpenFile(const char* path, DWORD access, DWORD disposition) {
    HANDLE file =
        CreateFileA(path, access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

HANDLE CreateForWriting(const char* path) { return OpenFile(path, GENERIC_WRITE, CREATE_ALWAYS); }

bool WriteAll(HANDLE file, const char* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

// Reads at most limit bytes of the file at path into text, ending it with a zero byte. Returns
// false when the file cannot be opened or read.
bool ReadWhole(const char* path, DWORD limit, std::vector<char>* text) {
    win::KernelHandle file(OpenFile(path, GENERIC_READ, OPEN_EXISTING));
    if (!file) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > ReadLimit) return false;
    DWORD wanted = size.QuadPart < limit ? static_cast<DWORD>(size.QuadPart) : limit;
    text->assign(wanted + 1, '\0');
    DWORD got = 0;
    if (wanted > 0 && !ReadFile(file.get(), text->data(), wanted, &got, nullptr)) return false;
    (*text)[got] = '\0';
    return true;
}

// Every CR LF becomes LF. (The text primitives of retrieval/ sit above this folder.)
void FoldLineEnds(char* text) {
    char* out = text;
    for (const char* in = text; *in; ++in)
        if (!(in[0] == '\r' && in[1] == '\n')) *out++ = *in;
    *out = '\0';
}

// The control's text in Shift-JIS. Its length message may count characters rather than bytes
// (rich edit does), so room is made for two bytes a character.
std::vector<char> ControlText(HWND control) {
    int length = GetWindowTextLengthA(control);
    std::vector<char> text(2 * static_cast<size_t>(length > 0 ? length : 0) + 2, '\0');
    GetWindowTextA(control, text.data(), static_cast<int>(text.size() - 1));
    return text;
}

// Formats two texts into buffer; false when the result had to be cut (a cut path names
// another file).
bool FitsIn(char* buffer, size_t capacity, const char* format, const char* a, const char* b = "") {
    int n = snprintf(buffer, capacity, format, a, b);
    return n >= 0 && static_cast<size_t>(n) < capacity;
}

// Calls visit(file name, title) for each text file of folder, in the order the file system
// gives, until it returns false. Returns false when the folder cannot be searched.
template <class Visit>
bool ForEachTextFile(const char* folder, Visit visit) {
    char pattern[TextPathCapacity + 8];
    if (!FitsIn(pattern, sizeof pattern, "%s\\*.txt", folder)) return false;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return true;
    char title[ArticleNameCapacity];
    bool more = true;
    do {
        bool isFile = !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        if (isFile && TextFileTitle(found.cFileName, title, sizeof title))
            more = visit(found.cFileName, title);
    } while (more && FindNextFileA(search, &found));
    FindClose(search);
    return true;
}

int ListInto(HWND listBox, int table, const char* folder, bool numbered) {
    int count = 0;
    ForEachTextFile(folder, [&](const char*, const char* title) {
        snprintf(ArticleNames[table][count], ArticleNameCapacity, "%s", title);
        char entry[ArticleNameCapacity + 16];
        if (numbered)
            snprintf(entry, sizeof entry, "%d %s", count + 1, title);
        else
            snprintf(entry, sizeof entry, "%s", title);
        SendMessageA(listBox, LB_INSERTSTRING, count, reinterpret_cast<LPARAM>(entry));
        return ++count < ArticleNameCount;
    });
    return count;
}

}  // namespace

int WriteTextFile(HWND editControl, const char* folder, const char* title, char* path,
                  std::size_t pathCapacity) {
    char target[TextPathCapacity];
    if (!MakeTextFilePath(target, sizeof target, folder, title)) return 0;
    if (path && pathCapacity > 0) snprintf(path, pathCapacity, "%s", target);
    std::vector<char> text = ControlText(editControl);
    win::KernelHandle file(CreateForWriting(target));
    if (!file) return 0;
    return WriteAll(file.get(), text.data(), static_cast<DWORD>(strlen(text.data()) + 1)) ? 1 : 0;
}

int ReadTextFile(HWND editControl, const char* path) {
    std::vector<char> text;
    if (!ReadWhole(path, ReadLimit, &text)) return 0;
    FoldLineEnds(text.data());
    win::SetRichEditPlainText(editControl, text.data());
    return 1;
}

int ListTextFiles(HWND listBox, int table, const char* folder) {
    if (table < 0 || table >= ArticleTableCount) return 0;
    return ListInto(listBox, table, folder, false);
}

int ListTextFilesNumbered(HWND listBox, const char* folder) { return ListInto(listBox, 1, folder, true); }

int CopyWithTitleLine(const char* title, const char* sourcePath, const char* destinationPath) {
    std::vector<char> text;
    if (!ReadWhole(sourcePath, TitledCopyLimit, &text)) return 0;
    win::KernelHandle file(CreateForWriting(destinationPath));
    if (!file) return 0;
    bool ok = WriteAll(file.get(), title, static_cast<DWORD>(strlen(title))) &&
              WriteAll(file.get(), "\n", 1) &&
              WriteAll(file.get(), text.data(), static_cast<DWORD>(strlen(text.data())));
    return ok ? 1 : 0;
}

int DeleteAllTextFiles(const char* folder) {
    bool allGone = true;
    bool searched = ForEachTextFile(folder, [&](const char* name, const char*) {
        char path[TextPathCapacity + 8];
        if (!FitsIn(path, sizeof path, "%s\\%s", folder, name) || !DeleteFileA(path)) allGone = false;
        return true;
    });
    return searched && allGone ? 1 : 0;
}
