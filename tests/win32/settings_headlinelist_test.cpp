// The headline list rewritten in place after the general settings: the same entries, numbered
// or not, with the same one selected.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/state/shell.h"
#include "app/lists/listcontent.h"
#include "library/settings.h"
#include "retrieval/headlines.h"

namespace {

class HeadlineListRebuild : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = Settings;
        savedList_ = HeadlineList;
        list_ = CreateWindowExA(0,
                                "LISTBOX",
                                "",
                                WS_POPUP | LBS_NOTIFY | WS_VSCROLL,
                                0,
                                0,
                                300,
                                200,
                                nullptr,
                                nullptr,
                                GetModuleHandleA(nullptr),
                                nullptr);
        ASSERT_NE(nullptr, list_);
        HeadlineList = list_;
    }
    void TearDown() override {
        DestroyWindow(list_);
        HeadlineList = savedList_;
        Settings = saved_;
        ScrapbookMode = 0;
        memset(HeadlineStore.titles[0], 0, sizeof HeadlineStore.titles[0]);
    }

    void Receive(const std::vector<std::string>& titles) {
        for (size_t i = 0; i < titles.size(); ++i) {
            strncpy(HeadlineStore.titles[0][i], titles[i].c_str(), TitleCapacity - 1);
            SendMessageA(list_,
                         LB_ADDSTRING,
                         0,
                         reinterpret_cast<LPARAM>((std::to_string(i + 1) + " " + titles[i]).c_str()));
        }
        HeadlineStore.counts[0] = static_cast<int32_t>(titles.size());
    }

    std::vector<std::string> Entries() {
        std::vector<std::string> out;
        int count = static_cast<int>(SendMessageA(list_, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[512] = {};
            SendMessageA(list_, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            out.push_back(text);
        }
        return out;
    }

    HWND list_ = nullptr;
    HWND savedList_ = nullptr;
    SettingsRecord saved_{};
};

TEST_F(HeadlineListRebuild, NumberingOffAndOnKeepsTitlesAndSelection) {
    std::vector<std::string> titles;
    for (int i = 0; i < 20; ++i) titles.push_back("見出し" + std::to_string(i) + "：台風が接近");
    titles[5] = std::string(255, 'x');  // the longest title a reception stores
    Receive(titles);
    SendMessageA(list_, LB_SETCURSEL, 7, 0);

    Settings.NumberEntries = 0;
    RebuildHeadlineList();
    EXPECT_EQ(titles, Entries());
    EXPECT_EQ(7, SendMessageA(list_, LB_GETCURSEL, 0, 0));

    Settings.NumberEntries = 1;
    RebuildHeadlineList();
    std::vector<std::string> entries = Entries();
    ASSERT_EQ(20u, entries.size());
    EXPECT_EQ("1 " + titles[0], entries[0]);
    EXPECT_EQ("6 " + titles[5], entries[5]);
    EXPECT_EQ("20 " + titles[19], entries[19]);
    EXPECT_EQ(7, SendMessageA(list_, LB_GETCURSEL, 0, 0));
}

TEST_F(HeadlineListRebuild, LeavesAnEmptyListAndAScrapbookFolderAlone) {
    Settings.NumberEntries = 0;
    RebuildHeadlineList();
    EXPECT_TRUE(Entries().empty());

    // A scrapbook folder is not made of received headlines.
    Receive({"受信した見出し"});
    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("1 保存した記事"));
    ScrapbookMode = 1;
    RebuildHeadlineList();
    EXPECT_EQ(std::vector<std::string>{"1 保存した記事"}, Entries());
}

}  // namespace
