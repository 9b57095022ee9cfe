#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "library/receptionlog.h"

namespace {

std::unique_ptr<ReceptionLog> LogOf(int entries) {
    auto log = std::make_unique<ReceptionLog>();
    std::memset(log.get(), 0, sizeof *log);
    for (int i = 0; i < entries; ++i) {
        std::string n = std::to_string(i);
        SetLogEntry(*log, i, ("file" + n).c_str(), ("name" + n).c_str(), i + 1);
    }
    return log;
}

std::string Names(const ReceptionLog& log) {
    std::string names;
    for (int i = 0; i < UsedLogEntries(log); ++i) names += std::string(log.FileName[i]) + " ";
    return names;
}

TEST(ReceptionLog, NewNamesGoOnTopAndTheOldestFallsOutOfAFullLog) {
    auto log = LogOf(0);
    PutLogEntryOnTop(*log, "a.txt", "A", 1);
    PutLogEntryOnTop(*log, "b.txt", "B", 2);
    EXPECT_EQ("B A ", Names(*log));
    EXPECT_STREQ("a.txt", log->FilePath[1]);
    EXPECT_EQ(1, log->Number[1]);
    EXPECT_FALSE(LogIsFull(*log));

    auto full = LogOf(LogCapacity);
    EXPECT_TRUE(LogIsFull(*full));
    PutLogEntryOnTop(*full, "new.txt", "new", 7);
    EXPECT_EQ(LogCapacity, UsedLogEntries(*full));
    EXPECT_STREQ("new", full->FileName[0]);
    EXPECT_STREQ("name0", full->FileName[1]);
    EXPECT_STREQ("name48", full->FileName[49]);
    EXPECT_FALSE(LogHasName(*full, "name49"));
}

TEST(ReceptionLog, ReaddingANameMovesItUpAndStoresTheNewFileAndNumber) {
    auto log = LogOf(10);
    PutLogEntryOnTop(*log, "other.txt", "name7", 99);
    EXPECT_EQ(10, UsedLogEntries(*log));
    EXPECT_STREQ("name7", log->FileName[0]);
    EXPECT_STREQ("other.txt", log->FilePath[0]);
    EXPECT_EQ(99, log->Number[0]);
    for (int i = 1; i <= 7; ++i) EXPECT_STREQ(("name" + std::to_string(i - 1)).c_str(), log->FileName[i]);
    EXPECT_STREQ("name8", log->FileName[8]);

    // A hand-edited file with the name twice: the later one leaves, the earlier moves down.
    auto twice = LogOf(4);
    SetLogEntry(*twice, 1, "x.txt", "dup", 5);
    SetLogEntry(*twice, 3, "y.txt", "dup", 6);
    PutLogEntryOnTop(*twice, "z.txt", "dup", 7);
    EXPECT_EQ("dup name0 dup name2 ", Names(*twice));
    EXPECT_STREQ("x.txt", twice->FilePath[2]);
}

TEST(ReceptionLog, RemovalTakesTheEntryWithThatFileAndNameWhereverItNowIs) {
    // Shown as [A, B, C]; C was opened since, so the file holds [C, A, B].
    auto log = LogOf(0);
    PutLogEntryOnTop(*log, "f", "C", 3);
    PutLogEntryOnTop(*log, "f", "B", 2);
    PutLogEntryOnTop(*log, "f", "A", 1);
    PutLogEntryOnTop(*log, "f", "C", 3);
    EXPECT_TRUE(RemoveLogEntryNamed(*log, "f", "A"));
    EXPECT_EQ("C B ", Names(*log));
    EXPECT_EQ(0, log->Number[2]);
    EXPECT_FALSE(RemoveLogEntryNamed(*log, "f", "A"));
    EXPECT_FALSE(RemoveLogEntryNamed(*log, "g", "C"));  // same name, other file
    EXPECT_FALSE(RemoveLogEntryNamed(*log, "", ""));    // never an unused position
    EXPECT_EQ("C B ", Names(*log));

    auto full = LogOf(LogCapacity);
    EXPECT_TRUE(RemoveLogEntryNamed(*full, "file49", "name49"));
    EXPECT_EQ(49, UsedLogEntries(*full));
    EXPECT_STREQ("", full->FilePath[49]);
}

TEST(ReceptionLog, TextsAreCutToTheirBuffer) {
    auto log = LogOf(0);
    std::string longName(300, 'x');
    PutLogEntryOnTop(*log, std::string(400, 'p').c_str(), longName.c_str(), 1);
    EXPECT_EQ(260u, std::strlen(log->FilePath[0]));
    EXPECT_EQ(260u, std::strlen(log->FileName[0]));
    // The name is compared as stored, so the same long name is found again.
    PutLogEntryOnTop(*log, "q", longName.c_str(), 2);
    EXPECT_EQ(1, UsedLogEntries(*log));
    EXPECT_TRUE(LogHasName(*log, ""));  // unused positions carry the empty name
}

TEST(ReceptionLog, OnlyPlainFileNamesOfTheNewsFolderAreCategoryFiles) {
    // "\x95\x5C" is a Shift-JIS character whose second byte is a backslash.
    const char* accepted[] = {"rss.txt", "demo.txt", "a b.txt", "\x95\x5C.txt", "x"};
    for (const char* name : accepted) EXPECT_TRUE(IsCategoryFileName(name)) << name;
    const char* refused[] = {"",
                             "..",
                             ".",
                             "..\\..\\x.txt",
                             "../x.txt",
                             "sub\\rss.txt",
                             "C:x.txt",
                             "C:\\Users\\x.txt",
                             "\\\\host\\share\\x.txt",
                             "rss.txt:stream",
                             "rss.txt.",
                             "rss.txt ",
                             "r*.txt",
                             "https://a.jp/",
                             "a\tb.txt"};
    for (const char* name : refused) EXPECT_FALSE(IsCategoryFileName(name)) << name;
    EXPECT_FALSE(IsCategoryFileName(nullptr));
}

}  // namespace
