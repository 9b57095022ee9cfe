// Which popup of the context menus the Applications key opens.
#pragma once

enum class FocusedPlace { MenuList, HeadlineList, Elsewhere };

// The popups of the context-menu resource, by position.
enum ContextPopup {
    PopupMenuList = 0,
    PopupHeadlines = 1,
    PopupBody = 2,
    PopupScrapArticles = 3,
    PopupScrapText = 4,
    PopupScrapFolders = 5,
};

// The menu list's popup is the folder popup while level 1 shows the scrapbook folders (top-menu
// entry 5); the headline list and the body view have one popup for news and one for the
// scrapbook.
int ChooseContextPopup(FocusedPlace focus, int menuLevel, int topSelection, int scrapbookMode);
