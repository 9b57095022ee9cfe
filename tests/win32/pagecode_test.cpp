// Received pages into Shift-JIS with their character references decoded. Literals here are
// Shift-JIS (the Win32 build compiles them so); the UTF-8 pages are written as bytes.
#include "retrieval/pagecode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<char> Buffer(const char* text, std::size_t capacity) {
    std::vector<char> buffer(capacity + 16, 'Z');
    std::memcpy(buffer.data(), text, std::strlen(text) + 1);
    return buffer;
}

TEST(PageCode, Utf8PagesAreDecodedAndConverted) {
    // A byte-order mark, 年 as two references and as itself, an ellipsis, a markup reference
    // (kept for the cutting), and a character Shift-JIS lacks.
    std::vector<char> page =
        Buffer("\xEF\xBB\xBF<p>&#x5e74;&#24180;\xE5\xB9\xB4&hellip;&lt;\xF0\x9F\x98\x80</p>", 1024);
    ASSERT_TRUE(ConvertReceivedPage(page.data(), 1024, true));
    EXPECT_STREQ(page.data(), "<p>年年年…&lt;・</p>");
}

TEST(PageCode, ShiftJisPagesHaveTheirReferencesDecoded) {
    std::vector<char> page = Buffer("<p>年&#x5e74;&amp;&#x1F600;</p>", 1024);
    ASSERT_TRUE(ConvertReceivedPage(page.data(), 1024, false));
    EXPECT_STREQ(page.data(), "<p>年年&amp;・</p>");
}

TEST(PageCode, TheResultIsCutToTheCapacityOnACharacterBoundary) {
    std::vector<char> page = Buffer("&#x5e74;&#x5e74;&#x5e74;&#x5e74;&#x5e74;", 40);
    ASSERT_TRUE(ConvertReceivedPage(page.data(), 6, true));
    EXPECT_STREQ(page.data(), "年年");
}

}  // namespace
