// Text files written from and read into edit controls: scrapbook articles, recording
// reservations, the editor hand-over and save as.
//
// A text file holds the control's Shift-JIS text with the line breaks the control gives, followed
// by one zero byte. Its name is made from a title by MakeTextFileName (library/textfilename.h).
// Nothing here changes the working directory.
#ifndef TAVLO_LIBRARY_TEXTFILES_H
#define TAVLO_LIBRARY_TEXTFILES_H

#include <windows.h>

#include <cstddef>

#include "library/textfilename.h"

constexpr int ArticleTableCount = 3;  // 1 the scrapbook, 2 the recording reservations
constexpr int ArticleNameCount = 500;
constexpr std::size_t ArticleNameCapacity = 260;

// The file titles found by the last ListTextFiles into each table, by list position.
extern char ArticleNames[ArticleTableCount][ArticleNameCount][ArticleNameCapacity];

// Writes the whole text of editControl and one zero byte into folder + "\" + the file name made
// from title, creating or replacing it. path (pathCapacity bytes, may be null) receives the path
// written to. Returns 1, or 0 when the file cannot be created or written.
int WriteTextFile(HWND editControl, const char* folder, const char* title, char* path = nullptr,
                  std::size_t pathCapacity = 0);

// Puts the text of the file at path (with its extension) into editControl: the text ends at the
// first zero byte or at the end of the file, CR LF folded to LF. Returns 1, or 0 when the file
// cannot be read (editControl is then left as it was).
int ReadTextFile(HWND editControl, const char* path);

// Lists the "*.txt" files of folder into listBox at positions 0, 1, ... and their titles into
// ArticleNames[table], at most ArticleNameCount, in the order the file system gives. The caller
// empties the list box before and selects after. Returns the number listed.
int ListTextFiles(HWND listBox, int table, const char* folder);

// As ListTextFiles into table 1, with entries "%d %s" (position + 1, the title); ArticleNames
// keeps the bare title.
int ListTextFilesNumbered(HWND listBox, const char* folder);

// Writes title, one LF and the text of sourcePath up to its first zero byte (at most 102,400
// bytes of it) into destinationPath, created or replaced; no zero byte at the end. Returns 1, or
// 0 when either file cannot be opened (nothing is written when the source cannot be read).
int CopyWithTitleLine(const char* title, const char* sourcePath, const char* destinationPath);

// Deletes every "*.txt" file in folder. Returns 1 when all of them are gone.
int DeleteAllTextFiles(const char* folder);

#endif
