// The rule that turns an article title into the name of its text file, and the check of a
// folder name typed by the user.
//
// Titles come from the network or from an edit box: whatever they hold, the file name made from
// them names one file inside the folder it is written to. The twelve characters + / * ! ? # $ % &
// ; , . become their full-width forms, every run from "<" to the next ">" is removed, and so that
// no title can reach another folder, a device or an invalid name, the characters \ : " | < > that
// are left become full-width as well, control characters become spaces, a lead byte without its
// trail byte is dropped, a device name such as CON or LPT1 gets a "_" after it, and the title is
// cut on a character boundary to fit. The rule works on the title only: the folder part of a
// path is left as the caller gives it.
//
// Texts are NUL-terminated Shift-JIS byte strings.
#ifndef TAVLO_LIBRARY_TEXTFILENAME_H
#define TAVLO_LIBRARY_TEXTFILENAME_H

#include <cstddef>

// A full path with its terminating zero, and the longest file title kept. 160 bytes hold 80
// double-byte characters, more than any headline, and leave room in the path for the folder
// names, also where the file system counts a name in UTF-8 bytes.
constexpr std::size_t TextPathCapacity = 260;
constexpr std::size_t TextTitleLimit = 160;

// Turns the title in name into its file name, the cleaned title followed by ".txt", in place.
// capacity is the size of the buffer; the title is cut to TextTitleLimit and so that the file
// name fits in it. Returns the length of the file name, or 0 (name empty) when not even ".txt"
// fits.
std::size_t MakeTextFileName(char* name, std::size_t capacity);

// Builds folder + "\" + the file name made from title into path (capacity bytes), cutting the
// title so that the whole path fits. An empty folder gives the file name alone. Returns 1, or 0
// (path empty) when the folder leaves no room for a file name.
int MakeTextFilePath(char* path, std::size_t capacity, const char* folder, const char* title);

// The title that a text file name stands for: name without its ".txt" (of any case), into title
// (capacity bytes). Returns 0 when name does not end in ".txt" or the title does not fit.
int TextFileTitle(const char* name, char* title, std::size_t capacity);

// Whether name can be created as one folder inside another: not empty, shorter than
// TextPathCapacity, no \ / : * ? " < > | or control character, no broken double-byte character,
// not "." or "..", not ending in a dot or a space, and not a device name.
bool IsFolderNameUsable(const char* name);

#endif
