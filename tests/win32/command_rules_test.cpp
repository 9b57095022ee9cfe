// The rules of the command table: what a reading, the focus and the state do to a command before
// it runs. A refused command returns false (it then goes to the default window procedure).
#include <windows.h>

#include <richedit.h>

#include <gtest/gtest.h>

#include "app/window/commands.h"
#include "app/article/search.h"
#include "app/state/shell.h"
#include "resources/resource.h"
#include "retrieval/headlines.h"
#include "speech/reading.h"
#include "test_windows.h"

namespace {

class CommandRules : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadLibraryA("riched32.dll");
        saved_ = {MainWindow, MenuList, HeadlineList, BodyView};
        main_ = MakeTestWindow("STATIC", WS_OVERLAPPED | WS_VISIBLE);
        ASSERT_NE(nullptr, main_);
        MainWindow = main_;
        MenuList = Child("LISTBOX", 0);
        HeadlineList = Child("LISTBOX", 0);
        BodyView = Child("RICHEDIT", ES_MULTILINE | ES_READONLY);
        SetWindowTextA(BodyView, "line one\r\nline two");
        SendMessageA(HeadlineList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("1 title"));
        SendMessageA(HeadlineList, LB_SETCURSEL, 0, 0);
        PageDepth = 0;
        CategoryParameters[0][0] = '\0';
        FindText[0] = '\0';
    }
    void TearDown() override {
        ReadingActive = 0;
        PageDepth = 0;
        HeadlineStore.pageAddresses[0][0] = '\0';
        DestroyWindow(main_);
        MainWindow = saved_.main;
        MenuList = saved_.menu;
        HeadlineList = saved_.headlines;
        BodyView = saved_.body;
    }

    HWND Child(const char* cls, DWORD style) {
        return MakeTestWindow(cls, WS_CHILD | WS_VISIBLE | style, main_);
    }

    void Focus(HWND view) {
        SetFocus(view);
        ASSERT_EQ(view, GetFocus());
    }

    CHARRANGE Selection() {
        CHARRANGE range = {0, 0};
        SendMessageA(BodyView, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
        return range;
    }

    struct Views {
        HWND main, menu, headlines, body;
    } saved_ = {};
    HWND main_ = nullptr;
};

TEST_F(CommandRules, WhileReadingCommandsAreRefusedConsumedOrRun) {
    Focus(BodyView);
    ReadingActive = 1;
    EXPECT_FALSE(DispatchCommand(IDM_POSITION));    // refused
    EXPECT_FALSE(DispatchCommand(IDM_SELECT_ALL));  // refused
    EXPECT_EQ(0, Selection().cpMax);
    EXPECT_TRUE(DispatchCommand(IDM_READ_LINE));  // consumed: taken, nothing done
    EXPECT_TRUE(DispatchCommand(IDM_CTRL_2));     // nothing, at any time
    ReadingActive = 0;
    EXPECT_TRUE(DispatchCommand(IDM_SELECT_ALL));
    EXPECT_EQ(0, Selection().cpMin);
    EXPECT_GT(Selection().cpMax, 10);
}

TEST_F(CommandRules, FocusAndStateDecide) {
    // Body commands are refused in the lists; the title dialog in the body.
    Focus(HeadlineList);
    EXPECT_FALSE(DispatchCommand(IDM_SELECT_ALL));
    EXPECT_FALSE(DispatchCommand(IDM_LINE_COUNT));
    Focus(MenuList);
    EXPECT_FALSE(DispatchCommand(IDM_COPY));
    Focus(BodyView);
    EXPECT_FALSE(DispatchCommand(IDM_ARTICLE_TITLE));
    EXPECT_FALSE(DispatchCommand(IDM_FOLDER_MENU));  // only in the menu list

    // No search text kept: Shift+F3 is refused. No category received: F5 is refused.
    EXPECT_FALSE(DispatchCommand(IDM_FIND_PREVIOUS));
    EXPECT_FALSE(DispatchCommand(IDM_RELOAD));

    // The address copies need a page with an address, and not the headline list.
    EXPECT_FALSE(DispatchCommand(IDM_COPY_ADDRESS));
    PageDepth = 1;
    strcpy(HeadlineStore.pageAddresses[0], "https://localhost/a.html");
    EXPECT_TRUE(DispatchCommand(IDM_COPY_ADDRESS));
    Focus(HeadlineList);
    EXPECT_FALSE(DispatchCommand(IDM_COPY_TITLE_AND_ADDRESS));

    // Keys without a command of their own, and numbers without a row, are passed on.
    EXPECT_FALSE(DispatchCommand(IDM_ALT_2));
    EXPECT_FALSE(DispatchCommand(1234));
    EXPECT_FALSE(DispatchCommand(HeadlineListId));  // a view's own notification
}

}  // namespace
