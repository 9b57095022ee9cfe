// Registering favorites against a real file: the limit, the duplicate and the nameless entry
// leave the file as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "library/favorites.h"
#include "library/receptionlog.h"

namespace {

class FavoritesFile : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder_ = std::string(temp) + "tavlo-favorites-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
        std::memcpy(savedFile_, Favorites.File, sizeof savedFile_);
        BindLogFile(Favorites, folder_.c_str(), FavoritesFileName);
        DeleteFileA(Favorites.File);
    }
    void TearDown() override {
        DeleteFileA(Favorites.File);
        RemoveDirectoryA(folder_.c_str());
        std::memcpy(Favorites.File, savedFile_, sizeof savedFile_);
    }

    // Writes a favorites file of count entries named "name0", "name1", ...
    static void Seed(int count) {
        ClearLogEntries(Favorites);
        for (int i = 0; i < count; ++i)
            SetLogEntry(Favorites, i, "news.txt", ("name" + std::to_string(i)).c_str(), i + 1);
        ASSERT_EQ(1, SaveLog(Favorites));
    }

    static std::string FileText() {
        std::ifstream in(Favorites.File, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    std::string folder_;
    char savedFile_[LogFileCapacity];
};

TEST_F(FavoritesFile, TheFiftiethIsRegisteredAndTheFiftyFirstRefused) {
    Seed(49);
    EXPECT_EQ(FavoriteOutcome::Registered, AddFavorite("news.txt", "新しいカテゴリー", 7));
    LoadLog(Favorites);
    EXPECT_EQ(50, UsedLogEntries(Favorites));
    EXPECT_STREQ("新しいカテゴリー", Favorites.FileName[0]);
    EXPECT_STREQ("name48", Favorites.FileName[49]);

    std::string before = FileText();
    EXPECT_EQ(FavoriteOutcome::Full, AddFavorite("news.txt", "もうひとつ", 8));
    EXPECT_EQ(before, FileText());
}

TEST_F(FavoritesFile, DuplicatesAndNamelessEntriesLeaveTheFileAlone) {
    Seed(3);
    std::string before = FileText();
    EXPECT_EQ(FavoriteOutcome::AlreadyRegistered, AddFavorite("other.txt", "name1", 9));
    EXPECT_EQ(FavoriteOutcome::NoName, AddFavorite("Menu42", "", 0));
    EXPECT_EQ(before, FileText());

    EXPECT_EQ(FavoriteOutcome::Registered, AddFavorite("http://r.jp/?ch=fm", "NHK-FM 東京", 601));
    LoadLog(Favorites);
    EXPECT_EQ(4, UsedLogEntries(Favorites));
    EXPECT_EQ(601, Favorites.Number[0]);
}

}  // namespace
