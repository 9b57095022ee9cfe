#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "app/state/menustack.h"

namespace {

std::unique_ptr<MenuStackData> EmptyStack() {
    auto stack = std::make_unique<MenuStackData>();
    std::memset(stack.get(), 0, sizeof *stack);
    stack->MenuLevel = -1;
    return stack;
}

void SetText(MenuStackData& s, int level, int slot, const char* text) {
    std::strncpy(s.ListText[level][slot], text, MenuTextCapacity - 1);
}

TEST(MenuStack, VisibleEntriesEndAtTheFirstEmptyTextAndAtFifty) {
    auto s = EmptyStack();
    SetText(*s, 1, 0, "a");
    SetText(*s, 1, 1, "b");
    SetText(*s, 1, 2, "c");
    SetText(*s, 1, 4, "e");  // after a gap: read, never shown
    EXPECT_EQ(3, VisibleEntryCount(*s, 1));
    for (int i = 0; i < MenuEntryCount; ++i) SetText(*s, 2, i, "x");
    EXPECT_EQ(50, VisibleEntryCount(*s, 2));
    EXPECT_EQ(0, VisibleEntryCount(*s, 3));
    EXPECT_EQ(0, VisibleEntryCount(*s, -1));
    EXPECT_EQ(0, VisibleEntryCount(*s, 5));
}

TEST(MenuStack, NumbersReadAsTheProfileFunctionsReadThem) {
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {
        {"",      0  },
        {"abc",   0  },
        {"-1",    -1 },
        {"12",    12 },
        {"  7",   7  },
        {"42abc", 42 },
        {"+5",    5  },
        {"-",     0  },
        {"601",   601},
        {"0",     0  },
    };
    for (const Case& c : cases) EXPECT_EQ(c.value, ParseProfileInt(c.text)) << "'" << c.text << "'";
}

TEST(MenuStack, WhereAmIJoinsTheSelectedTextsOfTheRightLevels) {
    auto s = EmptyStack();
    SetText(*s, 0, 2, "カテゴリー");
    SetText(*s, 1, 1, "国内");
    SetText(*s, 2, 3, "政治");
    SetText(*s, 3, 0, "国会");
    s->MenuSelection[0] = 2;
    s->MenuSelection[1] = 1;
    s->MenuSelection[2] = 3;
    s->MenuSelection[3] = 0;
    char out[1024];
    const char* expected[] = {
        "トップメニュー", "カテゴリー", "カテゴリー 国内", "国内 政治", "国内 政治 国会"};
    for (int level = 0; level < 5; ++level) {
        s->MenuLevel = level;
        DescribeMenuPosition(*s, out, sizeof out);
        EXPECT_STREQ(expected[level], out) << "level " << level;
    }
}

TEST(MenuStack, WhereAmISurvivesBadSelectionsAndSmallBuffers) {
    auto s = EmptyStack();
    s->MenuLevel = 2;
    s->MenuSelection[0] = -1;
    s->MenuSelection[1] = 99;
    char out[8];
    DescribeMenuPosition(*s, out, sizeof out);
    EXPECT_STREQ(" ", out);
    SetText(*s, 0, 0, "とても長い項目の名前です");
    s->MenuSelection[0] = 0;
    s->MenuLevel = 1;
    DescribeMenuPosition(*s, out, sizeof out);
    EXPECT_EQ(7u, std::strlen(out));
}

}  // namespace
