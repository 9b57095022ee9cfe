// The save dialog's path taken apart: the folder kept as chosen, the name without ".txt".
#include <gtest/gtest.h>

#include <string>

#include "app/article/savepath.h"

namespace {

struct Split {
    int ok;
    std::string folder, title;
};

Split SplitOf(const std::string& path) {
    char folder[261], title[261];
    int ok = SplitSavePath(path.c_str(), folder, sizeof folder, title, sizeof title);
    return {ok, folder, title};
}

TEST(SavePath, FolderKeptAsChosenAndTxtEndingTakenOff) {
    Split s = SplitOf("C:\\Users\\me\\my.docs\\news.txt");
    EXPECT_EQ(1, s.ok);
    EXPECT_EQ("C:\\Users\\me\\my.docs", s.folder);
    EXPECT_EQ("news", s.title);
    EXPECT_EQ("news", SplitOf("C:\\a\\news.TXT").title);
    EXPECT_EQ("news.md", SplitOf("C:\\a\\news.md").title);  // another ending stays part of the title
    EXPECT_EQ("C:", SplitOf("C:\\news.txt").folder);
    // "表" ends in the byte of a backslash: it is not a separator.
    Split sjis = SplitOf("C:\\\x95\x5c\\\x95\x5c.txt");
    EXPECT_EQ("C:\\\x95\x5c", sjis.folder);
    EXPECT_EQ("\x95\x5c", sjis.title);
}

TEST(SavePath, PathsWithoutAFolderOrANameAreRefused) {
    EXPECT_EQ(0, SplitOf("news.txt").ok);
    EXPECT_EQ(0, SplitOf("C:\\a\\").ok);
    EXPECT_EQ(0, SplitOf("\\news.txt").ok);
    EXPECT_EQ(0, SplitOf("C:\\a\\.txt").ok);
    EXPECT_EQ(0, SplitOf("").ok);
}

TEST(SavePath, AFolderThatDoesNotFitIsRefusedNotCut) {
    char folder[9] = "x", title[16] = "x";
    // Cut to "C:\\Users" the path would name another folder.
    EXPECT_EQ(0, SplitSavePath("C:\\Users\\me\\news.txt", folder, sizeof folder, title, sizeof title));
    EXPECT_STREQ("", folder);
    EXPECT_EQ(1, SplitSavePath("C:\\Users\\news.txt", folder, sizeof folder, title, sizeof title));
    EXPECT_STREQ("C:\\Users", folder);
    // No room for a title is no title, not a success.
    EXPECT_EQ(0, SplitSavePath("C:\\news.txt", folder, sizeof folder, title, 0));
}

}  // namespace
