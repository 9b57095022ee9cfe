#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/feedlist.h"

namespace {

FeedList ThreeFeeds() {
    FeedList list;
    AddUserFeed(list, "一つ目", "https://a.example/feed", nullptr);
    AddUserFeed(list, "二つ目", "https://b.example/rss", nullptr);
    AddUserFeed(list, "三つ目", "http://c.example/atom", nullptr);
    return list;
}

FeedFileReading Reparse(const std::string& text) { return ParseFeedFile(text.data(), text.size()); }

std::vector<std::string> Names(const FeedList& list) {
    std::vector<std::string> names;
    for (const UserFeed& feed : list.feeds) names.push_back(feed.name);
    return names;
}

}  // namespace

TEST(FeedList, KeepsItsOrderAndIdsThroughTheFile) {
    FeedList list = ThreeFeeds();
    ASSERT_TRUE(MoveUserFeed(list, 2, -1));
    EXPECT_FALSE(MoveUserFeed(list, 0, -1));
    EXPECT_FALSE(MoveUserFeed(list, 2, 1));
    RemoveUserFeed(list, 0);
    FeedFileReading reading = Reparse(FormatFeedFile(list));
    EXPECT_FALSE(reading.damaged);
    EXPECT_EQ(Names(reading.list), (std::vector<std::string>{"三つ目", "二つ目"}));
    // Ids stay with their feed, so a history entry still names the same feed after a move.
    EXPECT_EQ(reading.list.feeds[0].id, 3);
    EXPECT_EQ(reading.list.feeds[1].id, 2);
    EXPECT_EQ(reading.list.feeds[0].address, "http://c.example/atom");
}

TEST(FeedList, AddRefusesDuplicatesUnsafeAddressesAndMoreThanTheLimit) {
    FeedList list = ThreeFeeds();
    int index = -1;
    EXPECT_EQ(AddUserFeed(list, "x", "https://b.example/rss", &index), FeedAddOutcome::AlreadyListed);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(AddUserFeed(list, "x", "javascript:alert(1)", &index), FeedAddOutcome::Refused);
    EXPECT_EQ(AddUserFeed(list, "x", "file:///c:/windows", &index), FeedAddOutcome::Refused);
    EXPECT_EQ(AddUserFeed(list, "x", "https://a.example/a b", &index), FeedAddOutcome::Refused);
    EXPECT_EQ(AddUserFeed(list, "x", "https://a.example/" + std::string(FeedAddressMax, 'a'), &index),
              FeedAddOutcome::Refused);
    EXPECT_EQ(list.feeds.size(), 3u);

    for (int i = 3; i < FeedLimit; ++i)
        ASSERT_EQ(AddUserFeed(list, "", "https://n.example/" + std::to_string(i), nullptr), FeedAddOutcome::Added);
    EXPECT_EQ(AddUserFeed(list, "", "https://n.example/full", nullptr), FeedAddOutcome::Full);
    // A name left empty is the address; a freed id is given again.
    EXPECT_EQ(list.feeds[3].name, "https://n.example/3");
    RemoveUserFeed(list, 1);
    ASSERT_EQ(AddUserFeed(list, "新", "https://n.example/again", &index), FeedAddOutcome::Added);
    EXPECT_EQ(list.feeds[index].id, 2);
    FeedFileReading reading = Reparse(FormatFeedFile(list));
    EXPECT_FALSE(reading.damaged);
    EXPECT_EQ(reading.list.feeds.size(), static_cast<size_t>(FeedLimit));
}

TEST(FeedList, DamagedFileLosesNothingThatCanBeRead) {
    const std::string text =
        "\xEF\xBB\xBF[MyFeeds]\r\n"
        "Feed1=2\r\n"
        "Feed2=9\r\n"      // no such section
        "Feed3=oops\r\n"   // not an id
        "this line is not a key\r\n"
        "Feed4=2\r\n"      // twice
        "Feed5=8\r\n"      // the order is read past the byte-order mark
        "\r\n[Category2]\r\nParameter1=二\r\nParameter3=https://two.example/\r\n"
        "[Category5]\nParameter1=五\nParameter3=https://five.example/\n"       // in no order
        "[Category6]\rParameter1=悪\rParameter3=javascript:x\r"                 // unsafe address
        "[Category7]\r\nParameter1=重複\r\nParameter3=https://two.example/\r\n"  // same address
        "[Category600]\r\nParameter3=https://big.example/\r\n"                 // beyond the ids
        "[Category8]\r\nParameter1=\"引用\"\r\nParameter3=https://eight.example/";  // no last line end
    FeedFileReading reading = Reparse(text);
    EXPECT_TRUE(reading.damaged);
    EXPECT_EQ(Names(reading.list), (std::vector<std::string>{"二", "引用", "五"}));
    EXPECT_EQ(reading.list.feeds[1].address, "https://eight.example/");

    EXPECT_TRUE(Reparse("").list.feeds.empty());
    EXPECT_FALSE(Reparse("").damaged);
    const std::string binary("\0\xFF\x81[=\n[Category1\nParameter3=https://x.example/\n", 44);
    FeedFileReading junk = Reparse(binary);
    EXPECT_TRUE(junk.damaged);
    ASSERT_EQ(junk.list.feeds.size(), 1u);  // an unclosed section name still reads
}

TEST(FeedList, NamesAreStoredSafely) {
    EXPECT_EQ(CleanFeedName("  a\r\nb\tc  "), "a  b c");
    EXPECT_EQ(CleanFeedName("\"quoted\""), "quoted");
    EXPECT_EQ(CleanFeedName(" \x01 "), "");
    // "表" has 0x5C as its second byte: it is kept whole.
    EXPECT_EQ(CleanFeedName("表"), "表");
    std::string longName;
    for (int i = 0; i < 150; ++i) longName += "あ";
    std::string cut = CleanFeedName("x" + longName);
    EXPECT_EQ(cut.size(), FeedNameLimit - 1);  // not through the middle of a character
}

TEST(FeedList, NewItemsAgainstWhatWasSeen) {
    FeedNews first = CompareWithSeen({"a", "b"}, {});
    EXPECT_EQ(first.newCount, 2);
    FeedNews second = CompareWithSeen({"c", "a", "d", "b", "c"}, first.keep);
    EXPECT_EQ(second.isNew, (std::vector<bool>{true, false, true, false, true}));
    EXPECT_EQ(second.newCount, 3);
    EXPECT_EQ(second.keep, (std::vector<std::string>{"c", "a", "d", "b"}));

    // Bounded: the listed items first, the oldest dropped.
    std::vector<std::string> old, listed;
    for (size_t i = 0; i < SeenLimit; ++i) old.push_back("old" + std::to_string(i));
    for (int i = 0; i < 10; ++i) listed.push_back("now" + std::to_string(i));
    FeedNews bounded = CompareWithSeen(listed, old);
    ASSERT_EQ(bounded.keep.size(), SeenLimit);
    EXPECT_EQ(bounded.keep.front(), "now0");
    EXPECT_EQ(bounded.keep.back(), "old" + std::to_string(SeenLimit - 11));

    std::string file = FormatSeenFile({"https://x/1", "bad\r\nkey", "https://x/2"});
    EXPECT_EQ(ParseSeenFile(file.data(), file.size()), (std::vector<std::string>{"https://x/1", "https://x/2"}));
}
