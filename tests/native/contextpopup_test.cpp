// The popup the Applications key opens for each focus and state.
#include <gtest/gtest.h>

#include "app/window/contextpopup.h"

namespace {

TEST(ContextPopup, ChosenByFocusAndState) {
    using F = FocusedPlace;
    EXPECT_EQ(PopupMenuList, ChooseContextPopup(F::MenuList, 0, 5, 0));
    EXPECT_EQ(PopupMenuList, ChooseContextPopup(F::MenuList, 1, 1, 0));  // the history
    EXPECT_EQ(PopupScrapFolders, ChooseContextPopup(F::MenuList, 1, 5, 0));
    EXPECT_EQ(PopupMenuList, ChooseContextPopup(F::MenuList, 2, 5, 0));  // deeper than the folders
    EXPECT_EQ(PopupHeadlines, ChooseContextPopup(F::HeadlineList, 1, 2, 0));
    EXPECT_EQ(PopupScrapArticles, ChooseContextPopup(F::HeadlineList, 1, 5, 1));
    EXPECT_EQ(PopupBody, ChooseContextPopup(F::Elsewhere, 1, 2, 0));
    EXPECT_EQ(PopupScrapText, ChooseContextPopup(F::Elsewhere, 1, 5, 1));
}

}  // namespace
