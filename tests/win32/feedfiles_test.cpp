// The user's feeds on disk and received feeds in their code pages. Literals are Shift-JIS (the
// Win32 build compiles them so); UTF-8 and EUC-JP texts are written as bytes.
#include "library/feedfiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "retrieval/feedpage.h"
#include "file_helpers.h"

namespace {

std::string TestFolder(const char* name) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA((folder + "\\MyFeeds.ini").c_str());
    DeleteFileA((folder + "\\MyFeeds.ini.bak").c_str());
    return folder;
}

std::vector<char> Buffer(const std::string& text, std::size_t capacity) {
    std::vector<char> buffer(capacity, 'Z');
    std::memcpy(buffer.data(), text.c_str(), text.size() + 1);
    return buffer;
}

}  // namespace

TEST(FeedFiles, ListIsReadBackByTheProfileFunctionsAndAfterARestart) {
    std::string folder = TestFolder("tavlo-feedfiles");
    FeedList list;
    FeedList read;
    EXPECT_EQ(LoadUserFeeds(folder.c_str(), read), FeedFileState::Missing);
    AddUserFeed(list, "港町ニュース", "https://a.example/feed", nullptr);
    AddUserFeed(list, "表示", "https://b.example/rss", nullptr);
    ASSERT_TRUE(SaveUserFeeds(folder.c_str(), list));
    EXPECT_FALSE(Exists(folder + "\\MyFeeds.ini.tmp"));

    // The reception reads a feed as it reads any category.
    char path[MAX_PATH * 2], value[256];
    UserFeedFilePath(folder.c_str(), path, sizeof path);
    GetPrivateProfileStringA("Category2", "Parameter1", "", value, sizeof value, path);
    EXPECT_STREQ(value, "表示");
    GetPrivateProfileStringA("Category2", "Parameter2", "", value, sizeof value, path);
    EXPECT_STREQ(value, "feed");
    GetPrivateProfileStringA("Category1", "Parameter3", "", value, sizeof value, path);
    EXPECT_STREQ(value, "https://a.example/feed");

    ASSERT_EQ(LoadUserFeeds(folder.c_str(), read), FeedFileState::Read);
    ASSERT_EQ(read.feeds.size(), 2u);
    EXPECT_EQ(read.feeds[1].name, "表示");
    EXPECT_FALSE(Exists(folder + "\\MyFeeds.ini.bak"));
}

TEST(FeedFiles, DamagedFileIsKeptAsItWasBeforeItIsWrittenOver) {
    std::string folder = TestFolder("tavlo-feedfiles-damaged");
    const std::string damaged = "[MyFeeds]\r\nFeed1=4\r\ngarbage\r\n[Category4]\r\nParameter3=https://x.example/\r\n";
    Put(folder + "\\MyFeeds.ini", damaged);
    FeedList list;
    ASSERT_EQ(LoadUserFeeds(folder.c_str(), list), FeedFileState::Damaged);
    ASSERT_EQ(list.feeds.size(), 1u);
    EXPECT_EQ(Slurp(folder + "\\MyFeeds.ini.bak"), damaged);
    ASSERT_TRUE(SaveUserFeeds(folder.c_str(), list));
    EXPECT_EQ(LoadUserFeeds(folder.c_str(), list), FeedFileState::Read);
    // Too large to be read whole: not read in part either, which the program then keeps.
    Put(folder + "\\MyFeeds.ini", std::string(4 * 1024 * 1024 + 1, '\n'));
    EXPECT_EQ(LoadUserFeeds(folder.c_str(), list), FeedFileState::Unreadable);

    // A file that cannot be replaced (here: the target is a folder) leaves nothing behind.
    std::string blocked = folder + "\\blocked";
    CreateDirectoryA(blocked.c_str(), nullptr);
    EXPECT_FALSE(ReplaceFileText(blocked.c_str(), "text"));
    EXPECT_FALSE(Exists(blocked + ".tmp"));
}

TEST(FeedFiles, SeenItemsAreKeptPerFeed) {
    std::string folder = TestFolder("tavlo-feedfiles-seen");
    ASSERT_TRUE(SaveSeenItems(folder.c_str(), 7, {"https://x/1", "https://x/2"}));
    EXPECT_EQ(LoadSeenItems(folder.c_str(), 7), (std::vector<std::string>{"https://x/1", "https://x/2"}));
    EXPECT_TRUE(LoadSeenItems(folder.c_str(), 8).empty());
    RemoveSeenItems(folder.c_str(), 7);
    EXPECT_TRUE(LoadSeenItems(folder.c_str(), 7).empty());
}

TEST(FeedPage, FeedsOfEveryEncodingBecomeShiftJis) {
    // 港 in UTF-8 (with and without a byte-order mark), in EUC-JP and in Shift-JIS.
    const std::string utf8 = "<?xml version=\"1.0\"?><rss><channel><title>\xE6\xB8\xAF</title></channel></rss>";
    const std::string euc = "<?xml version=\"1.0\" encoding=\"EUC-JP\"?><rss><channel><title>\xB9\xC1</title></channel></rss>";
    const std::string sjis = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><rss><channel><title>港</title></channel></rss>";
    // And as a character reference, which the reader itself does not know.
    const std::string reference = "<?xml version=\"1.0\" encoding=\"EUC-JP\"?><rss><channel><title>&#x6E2F;</title></channel></rss>";
    for (const std::string& text : {utf8, "\xEF\xBB\xBF" + utf8, euc, sjis, reference}) {
        std::vector<char> page = Buffer(text, 4096);
        FeedPageReading reading = ReadFeedPage(page.data(), page.size(), "https://x.example/feed");
        EXPECT_TRUE(reading.feed.isFeed) << text;
        EXPECT_EQ(reading.feed.title, "港") << text;
    }
    // An article page in EUC-JP, declared by its meta element.
    std::vector<char> article = Buffer("<meta charset=\"euc-jp\"><p>\xB9\xC1&amp;</p>", 4096);
    ConvertWebPage(article.data(), article.size());
    EXPECT_STREQ(article.data(), "<meta charset=\"euc-jp\"><p>港&amp;</p>");
}

TEST(FeedPage, ItemsBecomeHeadlinesWithinTheirBuffers) {
    ParsedFeed feed;
    feed.isFeed = true;
    feed.items.push_back({"", "https://x.example/untitled", "1"});
    feed.items.push_back({std::string(400, 'T'), "https://x.example/long", "2"});
    feed.items.push_back({"too long an address", "https://x.example/" + std::string(AddressCapacity, 'a'), "3"});
    feed.items.push_back({"four", "https://x.example/4", "4"});
    static char titles[4][TitleCapacity], addresses[4][AddressCapacity];
    ASSERT_EQ(StoreFeedItems(feed, titles, addresses, 2), 2);
    EXPECT_STREQ(titles[0], "https://x.example/untitled");
    EXPECT_EQ(std::strlen(titles[1]), static_cast<std::size_t>(TitleCapacity - 1));
    ASSERT_EQ(StoreFeedItems(feed, titles, addresses, 4), 3);
    EXPECT_STREQ(addresses[2], "https://x.example/4");
}
