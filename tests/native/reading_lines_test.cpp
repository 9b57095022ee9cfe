// The lines a continuous reading speaks: the control's character counts against Shift-JIS bytes.
#include <gtest/gtest.h>

#include <string>

#include "speech/reading_lines.h"

namespace {

const std::string A = "\x82\xa0";  // "あ", two bytes
const std::string Lead = "\x88";   // a lead byte without its trail byte

TEST(ReadingLines, CharactersAndBytes) {
    std::string line = "ab" + A + A + "c";
    EXPECT_EQ(SjisCharCount(line.data(), line.size()), 5u);
    EXPECT_EQ(SjisCharsToBytes(line.data(), line.size(), 3), 4u);
    EXPECT_EQ(SjisCharsToBytes(line.data(), line.size(), 99), line.size());
    // A lead byte at the very end counts as one character and never reaches past the text.
    std::string cut = "a" + Lead;
    EXPECT_EQ(SjisCharCount(cut.data(), cut.size()), 2u);
    EXPECT_EQ(SjisCharsToBytes(cut.data(), cut.size(), 5), 2u);
}

TEST(ReadingLines, LineEndsAtItsOwnCharacters) {
    // The control counts 3 characters; the range fetched holds 8 bytes and the next line.
    std::string fetched = A + A + A + "\r\n" + A + "x";
    EXPECT_EQ(ReadingLineLength(fetched.data(), fetched.size(), 3, ReadingLineCapacity), 6u);
    // A control that counts bytes gives 6 for the same line: the line break still ends it.
    EXPECT_EQ(ReadingLineLength(fetched.data(), fetched.size(), 6, ReadingLineCapacity), 6u);
    std::string lf = "abc\nnext";
    EXPECT_EQ(ReadingLineLength(lf.data(), lf.size(), 8, ReadingLineCapacity), 3u);
    // Half a character at the end of what arrived is dropped, not spoken as a stray byte.
    std::string half = A + "b" + Lead;
    EXPECT_EQ(ReadingLineLength(half.data(), half.size(), 3, ReadingLineCapacity), 3u);
    EXPECT_EQ(ReadingLineLength(half.data(), 0, 3, ReadingLineCapacity), 0u);
}

TEST(ReadingLines, LongLinesAreCutOnACharacterBoundaryToTheBuffer) {
    std::string text;
    for (int i = 0; i < 2000; ++i) text += A;  // 4,000 bytes
    EXPECT_EQ(ReadingLineLength(text.data(), text.size(), 2000, ReadingLineCapacity), 3072u);
    std::string odd = "x" + text;  // one byte first: 3,072 would split a character
    size_t n = ReadingLineLength(odd.data(), odd.size(), 2001, ReadingLineCapacity);
    EXPECT_EQ(n, 3071u);
    EXPECT_EQ(SjisCharCount(odd.data(), n), 1536u);
    EXPECT_EQ(ReadingLineLength(text.data(), text.size(), 2000, 0), 0u);
    EXPECT_EQ(ReadingLineLength(text.data(), text.size(), 2000, 4), 2u);
}

TEST(ReadingLines, NvdaPassesOverEmptyAndOneCharacterLines) {
    EXPECT_FALSE(NvdaReadsLine(0));
    EXPECT_FALSE(NvdaReadsLine(2));
    EXPECT_TRUE(NvdaReadsLine(3));
}

TEST(ReadingLines, CountNoticeOnlyFromTheFirstLineOfANonRadioText) {
    EXPECT_EQ(ChooseCountNotice(1, 0, "https://example.jp/", 0), CountNotice::LinesAndLinks);
    EXPECT_EQ(ChooseCountNotice(1, 0, "", 1), CountNotice::LinesOnly);
    EXPECT_EQ(ChooseCountNotice(1, 0, nullptr, 0), CountNotice::LinesAndLinks);
    EXPECT_EQ(ChooseCountNotice(1, 1, "", 0), CountNotice::None);
    EXPECT_EQ(ChooseCountNotice(0, 0, "", 0), CountNotice::None);
    EXPECT_EQ(ChooseCountNotice(1, 0, "radio", 0), CountNotice::None);
    EXPECT_EQ(ChooseCountNotice(1, 0, "radio2", 0), CountNotice::LinesAndLinks);
}

}  // namespace
