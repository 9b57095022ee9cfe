#include "app/window/contextpopup.h"

namespace {
constexpr int TopScrapbookEntry = 5;
}

int ChooseContextPopup(FocusedPlace focus, int menuLevel, int topSelection, int scrapbookMode) {
    switch (focus) {
        case FocusedPlace::MenuList:
            return menuLevel == 1 && topSelection == TopScrapbookEntry ? PopupScrapFolders : PopupMenuList;
        case FocusedPlace::HeadlineList:
            return scrapbookMode == 1 ? PopupScrapArticles : PopupHeadlines;
        case FocusedPlace::Elsewhere:
            break;
    }
    return scrapbookMode == 1 ? PopupScrapText : PopupBody;
}
