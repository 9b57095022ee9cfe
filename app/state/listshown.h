// What MenuList and HeadlineList show now. Every room reads it here; what each kind of
// content does is app/lists/listcontent.h.
#pragma once

enum class ListContent {
    Menu,           // MenuList: a level of the menu definition file
    History,        // MenuList: the reception history
    Favorites,      // MenuList: the favorites
    ScrapFolders,   // MenuList: the scrapbook folders
    Headlines,      // HeadlineList: the headlines of the category received last
    MyFeeds,        // MenuList: the user's own feeds (app/lists/myfeeds.h)
    ScrapArticles,  // HeadlineList: the articles of a scrapbook folder (ScrapbookMode 1); the
                    // body view then shows scrapbook texts
};

// Records what the list now holds (the list itself is filled by the caller).
void ShowListContent(ListContent content);
ListContent MenuListContent();
ListContent HeadlineListContent();

// True while the body view shows a scrapbook text rather than a received page.
bool BodyShowsScrapbookText();
