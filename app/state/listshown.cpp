#include "app/state/listshown.h"

#include "app/state/shell.h"

namespace {

ListContent MenuListShows = ListContent::Menu;

// The headline list holds the received headlines or a scrapbook folder's articles; every
// other kind is shown in the menu list.
bool ShownInMenuList(ListContent content) {
    return content != ListContent::Headlines && content != ListContent::ScrapArticles;
}

}  // namespace

void ShowListContent(ListContent content) {
    if (ShownInMenuList(content))
        MenuListShows = content;
    else
        ScrapbookMode = content == ListContent::ScrapArticles ? 1 : 0;
}

ListContent MenuListContent() { return MenuListShows; }

ListContent HeadlineListContent() {
    return ScrapbookMode == 1 ? ListContent::ScrapArticles : ListContent::Headlines;
}

bool BodyShowsScrapbookText() { return HeadlineListContent() == ListContent::ScrapArticles; }
