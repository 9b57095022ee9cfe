#include "app/article/savepath.h"

#include <cstring>

#include "library/textfilename.h"
#include "retrieval/sjis.h"

int SplitSavePath(const char* path, char* folder, std::size_t folderCapacity, char* title,
                  std::size_t titleCapacity) {
    if (folderCapacity > 0) folder[0] = '\0';
    if (titleCapacity > 0) title[0] = '\0';
    std::size_t n = std::strlen(path);
    std::size_t separator = n;  // none yet
    for (std::size_t i = 0; i < n; i += SjisIsLead(static_cast<unsigned char>(path[i])) && i + 1 < n ? 2 : 1)
        if (path[i] == '\\') separator = i;
    if (separator == n || separator == 0 || separator + 1 == n) return 0;
    const char* name = path + separator + 1;
    // A folder cut short would be another folder: the path is refused instead.
    if (folderCapacity == 0 || titleCapacity == 0) return 0;
    if (SjisCopyCut(folder, folderCapacity, path, separator) < separator) {
        folder[0] = '\0';
        return 0;
    }
    if (!TextFileTitle(name, title, titleCapacity))
        SjisCopyCut(title, titleCapacity, name, std::strlen(name));
    return title[0] != '\0';
}
