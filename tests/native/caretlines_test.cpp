// The texts of the reading-position commands: line parts cut at the caret's character.
#include <gtest/gtest.h>

#include <string>

#include "app/article/caretlines.h"

namespace {

const std::string A = "\x82\xa0";  // "あ"

std::string Part(const std::string& line, long column, LinePart part) {
    size_t begin = 0, end = 0;
    CutLinePart(line.data(), line.size(), column, part, &begin, &end);
    return line.substr(begin, end - begin);
}

TEST(CaretLines, PartsOfALineAreCutAtTheCaretCharacter) {
    std::string line = A + A + "bc" + A;
    EXPECT_EQ(Part(line, 2, LinePart::Whole), line);
    EXPECT_EQ(Part(line, 2, LinePart::ToCaret), A + A);
    EXPECT_EQ(Part(line, 2, LinePart::FromCaret), "bc" + A);
    EXPECT_EQ(Part(line, 1, LinePart::FromCaret), A + "bc" + A);
    // At the line start: nothing before, everything after.
    EXPECT_EQ(Part(line, 0, LinePart::ToCaret), "");
    EXPECT_EQ(Part(line, 0, LinePart::FromCaret), line);
    // At the line end, and past a line that was cut to the line buffer.
    EXPECT_EQ(Part(line, 5, LinePart::FromCaret), "");
    EXPECT_EQ(Part(line, 99, LinePart::ToCaret), line);
    EXPECT_EQ(Part("", 0, LinePart::Whole), "");
}

TEST(CaretLines, AnnouncementTexts) {
    char text[32];
    PositionText(text, sizeof text, 0, 7, 0);
    EXPECT_STREQ(text, "1行8列");
    PositionText(text, sizeof text, 70000, 140010, 140000);
    EXPECT_STREQ(text, "70001行11列");
    LineCountText(text, sizeof text, 12);
    EXPECT_STREQ(text, "12行");
    CharacterCountText(text, sizeof text, 0);
    EXPECT_STREQ(text, "0文字");
    char tiny[4];
    CharacterCountText(tiny, sizeof tiny, 123456);
    EXPECT_EQ(std::string(tiny).size(), 3u);
}

}  // namespace
