// The native build sees text as the program does: literals in Shift-JIS.
#include "retrieval/sjis.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ShiftJisLiterals, JapaneseLiteralsAreTheProgramsBytes) {
    EXPECT_EQ(std::string("タブロ"), "\x83\x5E\x83\x75\x83\x8D");
    // A character whose trail byte is a backslash stays one character.
    const std::string so = "ソ";
    ASSERT_EQ(so, "\x83\x5C");
    EXPECT_EQ(SjisFitLength(so.c_str(), so.size(), 1), 0u);
}

}  // namespace
