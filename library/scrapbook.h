// The scrapbook on disk: folders under "<data folder>\ScrapBook", each holding saved articles as
// text files (library/textfiles.h), and the names found by the last listings.
//
// Every operation takes the data folder and works with full paths; none changes the working
// directory. Names of folders and articles come from listings or from the user and are checked
// before anything is created, renamed or removed, so that nothing outside the scrapbook tree is
// touched. Each operation returns 1 on success and 0 on failure, and reports no success for
// something that did not happen.
#ifndef TAVLO_LIBRARY_SCRAPBOOK_H
#define TAVLO_LIBRARY_SCRAPBOOK_H

#include <cstddef>

#include "library/textfiles.h"

constexpr int ScrapFolderCount = 500;
constexpr std::size_t ScrapNameCapacity = 260;
constexpr const char* DefaultScrapFolder = "ScrapBook";

// The folder whose articles are listed, the names found by the last ListScrapFolders and the
// folder a rename or delete works on.
extern char CurrentScrapFolder[ScrapNameCapacity];
extern char FolderNames[ScrapFolderCount][ScrapNameCapacity];
extern char SelectedFolder[ScrapNameCapacity];

// "<data folder>\ScrapBook", "<data folder>\ScrapBook\<folder>" and the article
// "<data folder>\ScrapBook\<folder>\<name>.txt", into path (capacity bytes). Return 0 (path
// empty) when the path does not fit or a name could leave the tree.
int ScrapRootPath(char* path, std::size_t capacity, const char* dataFolder);
int ScrapFolderPath(char* path, std::size_t capacity, const char* dataFolder, const char* folder);
int ScrapArticlePath(char* path, std::size_t capacity, const char* dataFolder, const char* folder,
                     const char* name);

// Every name in the scrapbook root but "." and ".." (files are listed like folders) into
// FolderNames, at most ScrapFolderCount, in the order the file system gives. Returns the count.
int ListScrapFolders(const char* dataFolder);

// The position of name in the first count FolderNames, or -1.
int FindScrapFolder(const char* name, int count);

// Moves the article name from one folder to another; the target must not exist yet. Moving
// into its own folder changes nothing and succeeds.
int MoveArticleFile(const char* dataFolder, const char* fromFolder, const char* name, const char* toFolder);

// Deletes the article name of folder. An article that is already gone counts as deleted.
int DeleteArticleFile(const char* dataFolder, const char* folder, const char* name);

// Creates, renames and removes scrapbook folders. The default folder is neither renamed nor
// removed. A folder that holds articles is removed with them; one that holds anything else is
// left untouched, and the removal fails.
int CreateScrapFolder(const char* dataFolder, const char* name);
int RenameScrapFolderTo(const char* dataFolder, const char* oldName, const char* newName);
int RemoveScrapFolder(const char* dataFolder, const char* name);

#endif
