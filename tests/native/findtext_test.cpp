// Finding text in the body (character positions over Shift-JIS bytes) and in list entries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/article/findtext.h"
#include "retrieval/sjis.h"

namespace {

const std::string A = "\x82\xa0";             // "あ"
const std::string KA = "\x83\x41";            // "ア": its trail byte is the ASCII "A"
const std::string Mark = "\x96\xda\x88\xf3";  // "目印"

TEST(FindInBody, ForwardStartsAfterTheCaretAndCountsCharacters) {
    std::string text = A + A + "ab" + A + "ab\r\n" + A + "ab";
    // chars: あ0 あ1 a2 b3 あ4 a5 b6 \r7 \n8 あ9 a10 b11
    EXPECT_EQ(FindInBody(text.data(), text.size(), "ab", 0, true), 2);
    // Repeating from a match moves on to the next one, across the line break.
    EXPECT_EQ(FindInBody(text.data(), text.size(), "ab", 2, true), 5);
    EXPECT_EQ(FindInBody(text.data(), text.size(), "ab", 5, true), 10);
    EXPECT_EQ(FindInBody(text.data(), text.size(), "ab", 10, true), -1);
    EXPECT_EQ(FindInBody(text.data(), text.size(), (A + "a").c_str(), 0, true), 1);
    EXPECT_EQ(FindInBody(text.data(), text.size(), (A + "a").c_str(), 1, true), 4);
    EXPECT_EQ(FindInBody(text.data(), text.size(), "zz", 0, true), -1);
    EXPECT_EQ(FindInBody(text.data(), text.size(), "", 0, true), -1);
    // A caret past the end finds nothing and reads nothing beyond the text.
    EXPECT_EQ(FindInBody(text.data(), text.size(), "ab", 500, true), -1);
}

TEST(FindInBody, BackwardFindsTheNearestMatchBeforeTheCaret) {
    std::string text = "ab" + A + "ab" + A + "ab";  // a0 b1 あ2 a3 b4 あ5 a6 b7
    EXPECT_EQ(FindInBody(text.data(), text.size(), "ab", 8, false), 6);
    EXPECT_EQ(FindInBody(text.data(), text.size(), "ab", 6, false), 3);
    EXPECT_EQ(FindInBody(text.data(), text.size(), "ab", 3, false), 0);
    EXPECT_EQ(FindInBody(text.data(), text.size(), "ab", 0, false), -1);
    EXPECT_EQ(FindInBody(text.data(), text.size(), "ab", 1, false), 0);
}

TEST(FindInBody, NeverMatchesInsideADoubleByteCharacter) {
    std::string text = KA + KA + "A" + KA;  // the third character is the only real "A"
    EXPECT_EQ(FindInBody(text.data(), text.size(), "A", 0, true), 2);
    EXPECT_EQ(FindInBody(text.data(), text.size(), "A", 3, false), 2);
    EXPECT_EQ(FindInBody(text.data(), text.size(), "A", 2, true), -1);
    std::vector<std::string> entries = {KA + KA, "xAx"};
    EXPECT_EQ(FindInList(entries, -1, "A", true), 1);
}

TEST(FindInBody, SearchesBeyondCharacter65535FromTheCaret) {
    std::string text;
    text += Mark;  // character 0
    for (int i = 0; i < 70000; ++i) text += A;
    text += Mark;  // character 70,002
    text += A;
    const long caret = 66000;
    EXPECT_EQ(FindInBody(text.data(), text.size(), Mark.c_str(), caret, true), 70002);
    EXPECT_EQ(FindInBody(text.data(), text.size(), Mark.c_str(), 70002, true), -1);
    EXPECT_EQ(FindInBody(text.data(), text.size(), Mark.c_str(), 70002, false), 0);
    EXPECT_EQ(FindInBody(text.data(), text.size(), Mark.c_str(), 70005, false), 70002);
}

TEST(FindInList, StartsNextToTheSelectionWithoutWrappingAround) {
    std::vector<std::string> entries = {"1 " + A + "x", "2 b", "3 " + A, "4 b"};
    const std::string find = A;
    EXPECT_EQ(FindInList(entries, 0, find.c_str(), true), 2);
    EXPECT_EQ(FindInList(entries, 2, find.c_str(), true), -1);  // only entry 0 is left, behind
    EXPECT_EQ(FindInList(entries, 3, "b", true), -1);           // from the last entry
    EXPECT_EQ(FindInList(entries, 3, "b", false), 1);
    EXPECT_EQ(FindInList(entries, 0, "1", false), -1);  // from the first entry
    EXPECT_EQ(FindInList(entries, -1, "1", true), 0);   // nothing selected: from the top
    EXPECT_EQ(FindInList(entries, -1, "1", false), -1);
    EXPECT_EQ(FindInList({}, -1, "1", true), -1);
    EXPECT_EQ(FindInList(entries, 1, "B", true), -1);  // case matters
}

TEST(FindText, LongInputIsCutToTheBufferOnACharacterBoundary) {
    std::string input = "x";
    for (int i = 0; i < 70; ++i) input += A;  // 141 bytes
    char findText[FindTextCapacity];
    EXPECT_EQ(SjisCopyCut(findText, sizeof findText, input.data(), input.size()), 127u);
    EXPECT_EQ(std::string(findText), input.substr(0, 127));
}

}  // namespace
