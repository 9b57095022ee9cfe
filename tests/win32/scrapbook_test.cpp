// The scrapbook store on a real file system: every operation either does what it says or
// reports failure with nothing lost, and no name reaches outside the scrapbook tree.
#include "library/scrapbook.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "file_helpers.h"

namespace {

class Scrapbook : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        data_ = std::string(temp) + "scrapbook_" + std::to_string(GetCurrentProcessId()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
        RemoveTree(data_);
        CreateDirectoryA(data_.c_str(), nullptr);
        root_ = data_ + "\\ScrapBook";
        CreateDirectoryA(root_.c_str(), nullptr);
        Folder("ScrapBook");
    }
    void TearDown() override { RemoveTree(data_); }

    std::string Folder(const std::string& name) {
        CreateDirectoryA((root_ + "\\" + name).c_str(), nullptr);
        return root_ + "\\" + name;
    }
    std::set<std::string> Listed() {
        std::set<std::string> names;
        int count = ListScrapFolders(data_.c_str());
        for (int i = 0; i < count; ++i) names.insert(FolderNames[i]);
        return names;
    }
    std::set<std::string> OutsideRoot() {
        std::set<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((data_ + "\\*").c_str(), &found);
        do {
            std::string name = found.cFileName;
            if (name != "." && name != ".." && name != "ScrapBook") names.insert(name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }
    const char* data() const { return data_.c_str(); }

    std::string data_, root_;
};

TEST_F(Scrapbook, ListsEveryNameOfTheRootAndFindsTheDefaultFolder) {
    Folder("ニュース");
    Folder("my.folder");
    Put(root_ + "\\stray.txt", "x");
    EXPECT_EQ((std::set<std::string>{"ScrapBook", "ニュース", "my.folder", "stray.txt"}), Listed());
    int count = ListScrapFolders(data());
    ASSERT_GE(FindScrapFolder("ScrapBook", count), 0);
    EXPECT_STREQ("ScrapBook", FolderNames[FindScrapFolder("ScrapBook", count)]);
    EXPECT_EQ(-1, FindScrapFolder("missing", count));
    RemoveTree(root_);
    EXPECT_EQ(0, ListScrapFolders(data()));
}

TEST_F(Scrapbook, AddsAndRenamesFoldersButRefusesNamesThatLeaveTheRoot) {
    EXPECT_EQ(1, CreateScrapFolder(data(), "経済"));
    EXPECT_EQ(0, CreateScrapFolder(data(), "経済"));  // exists
    for (const char* name : {"", "..", "..\\evil", "C:\\evil", "a/b", "CON", "a|b", "x."})
        EXPECT_EQ(0, CreateScrapFolder(data(), name)) << name;
    EXPECT_EQ(1, RenameScrapFolderTo(data(), "経済", "経済.2"));
    EXPECT_EQ(0, RenameScrapFolderTo(data(), "経済", "other"));  // gone
    Folder("taken");
    EXPECT_EQ(0, RenameScrapFolderTo(data(), "経済.2", "taken"));
    EXPECT_EQ(0, RenameScrapFolderTo(data(), "経済.2", "..\\evil"));
    EXPECT_EQ(0, RenameScrapFolderTo(data(), "..", "evil"));
    EXPECT_EQ(0, RenameScrapFolderTo(data(), "ScrapBook", "renamed"));
    EXPECT_EQ(0, RenameScrapFolderTo(data(), "scrapbook", "renamed"));
    EXPECT_EQ((std::set<std::string>{"ScrapBook", "経済.2", "taken"}), Listed());
    EXPECT_TRUE(OutsideRoot().empty());
}

TEST_F(Scrapbook, DeletesAFolderWithItsArticlesButKeepsOneHoldingOtherFiles) {
    std::string full = Folder("full");
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) Put(full + "\\" + name, "x");
    EXPECT_EQ(1, RemoveScrapFolder(data(), "full"));
    EXPECT_FALSE(Exists(full));

    std::string mixed = Folder("mixed");
    Put(mixed + "\\article.txt", "keep me");
    Put(mixed + "\\picture.png", "x");
    EXPECT_EQ(0, RemoveScrapFolder(data(), "mixed"));
    EXPECT_EQ("keep me", Slurp(mixed + "\\article.txt"));

    EXPECT_EQ(0, RemoveScrapFolder(data(), "ScrapBook"));
    EXPECT_EQ(0, RemoveScrapFolder(data(), "missing"));
    EXPECT_EQ(0, RemoveScrapFolder(data(), ".."));
    Put(root_ + "\\stray.txt", "x");
    EXPECT_EQ(0, RemoveScrapFolder(data(), "stray.txt"));
    EXPECT_EQ((std::set<std::string>{"ScrapBook", "mixed", "stray.txt"}), Listed());
}

TEST_F(Scrapbook, MovesAnArticleOnlyWhereNothingIsReplaced) {
    std::string home = root_ + "\\ScrapBook", other = Folder("other");
    Put(home + "\\記事.txt", std::string("本文\0", sizeof "本文"));
    EXPECT_EQ(1, MoveArticleFile(data(), "ScrapBook", "記事", "ScrapBook"));  // its own folder
    EXPECT_TRUE(Exists(home + "\\記事.txt"));
    EXPECT_EQ(1, MoveArticleFile(data(), "ScrapBook", "記事", "other"));
    EXPECT_FALSE(Exists(home + "\\記事.txt"));
    EXPECT_EQ(std::string("本文\0", sizeof "本文"), Slurp(other + "\\記事.txt"));

    Put(home + "\\記事.txt", "newer");
    EXPECT_EQ(0, MoveArticleFile(data(), "ScrapBook", "記事", "other"));  // target exists
    EXPECT_EQ("newer", Slurp(home + "\\記事.txt"));
    EXPECT_EQ(std::string("本文\0", sizeof "本文"), Slurp(other + "\\記事.txt"));
    EXPECT_EQ(0, MoveArticleFile(data(), "ScrapBook", "記事", "missing"));
    EXPECT_EQ(0, MoveArticleFile(data(), "ScrapBook", "gone", "other"));
    EXPECT_EQ(0, MoveArticleFile(data(), "ScrapBook", "記事", ".."));
    EXPECT_EQ("newer", Slurp(home + "\\記事.txt"));
    EXPECT_TRUE(OutsideRoot().empty());
}

TEST_F(Scrapbook, DeletesAnArticleAndReportsOneThatCannotBeDeleted) {
    std::string path = root_ + "\\ScrapBook\\a.txt";
    Put(path, "x");
    HANDLE held =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(0, DeleteArticleFile(data(), "ScrapBook", "a"));  // in use
    CloseHandle(held);
    EXPECT_TRUE(Exists(path));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(0, DeleteArticleFile(data(), "ScrapBook", "a"));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(1, DeleteArticleFile(data(), "ScrapBook", "a"));
    EXPECT_FALSE(Exists(path));
    EXPECT_EQ(1, DeleteArticleFile(data(), "ScrapBook", "a"));  // already gone
    EXPECT_EQ(0, DeleteArticleFile(data(), "ScrapBook", "..\\..\\x"));
}

TEST_F(Scrapbook, PathsRefuseNamesThatLeaveTheTree) {
    char path[TextPathCapacity];
    ASSERT_EQ(1, ScrapArticlePath(path, sizeof path, "C:\\Data", "ScrapBook", "a.b"));
    EXPECT_STREQ("C:\\Data\\ScrapBook\\ScrapBook\\a.b.txt", path);
    EXPECT_EQ(0, ScrapArticlePath(path, sizeof path, "C:\\Data", "..", "a"));
    EXPECT_STREQ("", path);
    EXPECT_EQ(0, ScrapArticlePath(path, sizeof path, "C:\\Data", "ScrapBook", "..\\a"));
    EXPECT_EQ(0, ScrapFolderPath(path, sizeof path, "C:\\Data", "C:\\x"));
    EXPECT_EQ(0, ScrapArticlePath(path, sizeof path, std::string(250, 'd').c_str(), "ScrapBook", "a"));
}

}  // namespace
