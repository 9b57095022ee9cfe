// The path chosen in the save dialog, taken apart for the text-file writer: the folder as the
// user chose it, and the title whose file name the file-name rule makes (the rule then adds
// ".txt" again). Only the file name goes through the rule, so a folder with a dot in its name
// stays that folder, and "news.txt" is written as "news.txt".
#pragma once
#include <cstddef>

// Splits path at its last backslash (never a trail byte of a double-byte character): the part
// before it into folder, the name after it, less a ".txt" ending of any case, into title. The
// title is cut on a character boundary to its capacity. Returns 0 when the path has no folder
// or no name, or when the folder does not fit whole into its buffer.
int SplitSavePath(const char* path, char* folder, std::size_t folderCapacity, char* title,
                  std::size_t titleCapacity);
