// Browsing the scrapbook: its folders in MenuList, the articles of one folder in HeadlineList,
// an article's text in BodyView. F8 and Shift+F8 (GoToDefaultScrapbook, GoToScrapFolderList)
// are entry points of app/state/entrypoints.h. The store itself is library/scrapbook.h.
#pragma once
#include <windows.h>

// Enter on the scrapbook entry of a menu (entry code 606): the folders as the next menu level.
void ShowScrapFolders();
// Enter on a folder: its articles in HeadlineList.
void OpenScrapFolder();
// Enter on an article: its text in BodyView, read aloud at once when the options say so.
void OpenScrapArticle();

// Fills list (emptied first) with the articles of CurrentScrapFolder, numbered when the
// options say so, and selects selection (or the last entry when there are fewer).
void ListScrapArticles(HWND list, int selection);
// Fills MenuList with the scrapbook folders again, the first one selected.
void RefillScrapFolderList();

// The position and title of the article selected in HeadlineList; false when none is.
bool SelectedScrapArticle(int* position, const char** title);

// The selected article's text into BodyView, its title spoken (previous and next article from
// the body view).
void LoadSelectedScrapArticle();

// Alt+1: in the article list, the folder; in the body view, the article.
void SayScrapFolder();
void SayScrapArticle();
