// Feed lists exchanged with other feed readers.
#include <gtest/gtest.h>

#include <string>

#include "library/opml.h"

TEST(Opml, ReadsNestedOutlinesInOrder) {
    const std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><opml version=\"1.0\"><head><title>mine</title></head><body>"
        "<outline text=\"News\">"
        "  <outline text=\"A &amp; B\" type=\"rss\" xmlUrl=\"https://a.example/rss?x=1&amp;y=2\"/>"
        "  <outline text=\"Deep\"><outline title=\"\x93\xfa\x96\x7b\" text=\"t\" xmlURL=\"http://b.example/feed\"/></outline>"
        "</outline>"
        "<outline text=\"no address\" htmlUrl=\"https://c.example/\"/>"
        "<outline text=\"bad\" xmlUrl=\"javascript:alert(1)\"/>"
        "<outline xmlUrl=\"https://d.example/atom\"/>"
        "<outline text=\"dup\" xmlUrl=\"https://a.example/rss?x=1&amp;y=2\"/>"
        "</body></opml>";
    std::vector<OpmlFeed> feeds = ReadOpml(text.data(), text.size());
    ASSERT_EQ(4u, feeds.size());
    EXPECT_EQ("A & B", feeds[0].title);
    EXPECT_EQ("https://a.example/rss?x=1&y=2", feeds[0].address);
    EXPECT_EQ("\x93\xfa\x96\x7b", feeds[1].title);
    EXPECT_EQ("http://b.example/feed", feeds[1].address);
    EXPECT_EQ("https://d.example/atom", feeds[2].title);  // no name: its address
    EXPECT_EQ("https://a.example/rss?x=1&y=2", feeds[3].address);  // the caller skips duplicates
}

TEST(Opml, WrittenListReadsBack) {
    std::vector<OpmlFeed> feeds = {{"Tom & \"Jerry\" <news>", "https://a.example/rss?x=1&y=2"},
                                   {"\x93\xfa\x96\x7b\x8c\xea\n", "http://b.example/feed"}};
    const std::string text = WriteOpml(feeds, "Tavlo & me");
    EXPECT_EQ(0u, text.find("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_NE(std::string::npos, text.find("<opml version=\"2.0\">"));
    EXPECT_NE(std::string::npos, text.find("<title>Tavlo &amp; me</title>"));
    EXPECT_EQ(std::string::npos, text.find("<news>"));
    std::vector<OpmlFeed> back = ReadOpml(text.data(), text.size());
    ASSERT_EQ(2u, back.size());
    EXPECT_EQ(feeds[0].title, back[0].title);
    EXPECT_EQ(feeds[0].address, back[0].address);
    EXPECT_EQ("\x93\xfa\x96\x7b\x8c\xea", back[1].title);  // the line break is not kept
    EXPECT_EQ(feeds[1].address, back[1].address);
}
