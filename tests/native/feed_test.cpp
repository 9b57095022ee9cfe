// Feeds as sites write them: the three formats, sloppy markup, hostile addresses, the encoding
// of received bytes, feed links in pages, and the saved real feeds.
#include <gtest/gtest.h>

#include <string>

#include "retrieval/charrefs.h"
#include "retrieval/feed.h"
#include "test_files.h"

namespace {

ParsedFeed Parse(const std::string& text, const char* address = "https://news.example/feed/rss.xml",
                 std::size_t maxItems = 500) {
    return ParseFeed(text.data(), text.size(), address, maxItems);
}

std::string Rss(const std::string& items) {
    return "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><title>Example News</title>"
           "<link>https://news.example/</link><image><title>logo</title><url>/l.png</url></image>" +
           items + "</channel></rss>";
}

}  // namespace

TEST(Feed, ReadsRss2Rss1AndAtom) {
    ParsedFeed rss = Parse(Rss("<item><title>One</title><link>https://news.example/1</link>"
                               "<guid>tag:1</guid></item>"
                               "<item><title>Two</title><link>https://news.example/2</link></item>"));
    ASSERT_TRUE(rss.isFeed);
    EXPECT_EQ("Example News", rss.title);
    ASSERT_EQ(2u, rss.items.size());
    EXPECT_EQ("One", rss.items[0].title);
    EXPECT_EQ("https://news.example/1", rss.items[0].address);
    EXPECT_EQ("tag:1", rss.items[0].id);
    EXPECT_EQ("https://news.example/2", rss.items[1].id);  // no guid: the address

    ParsedFeed rdf = Parse(
        "<rdf:RDF xmlns:rdf=\"x\" xmlns=\"y\"><channel rdf:about=\"https://r.example/\"><title>R</title>"
        "<items><rdf:Seq><rdf:li rdf:resource=\"https://r.example/a\"/></rdf:Seq></items></channel>"
        "<item rdf:about=\"https://r.example/a\"><title>A</title><link>https://r.example/a</link></item>"
        "<item rdf:about=\"https://r.example/b\"><title>B</title></item></rdf:RDF>");
    ASSERT_TRUE(rdf.isFeed);
    EXPECT_EQ("R", rdf.title);
    ASSERT_EQ(2u, rdf.items.size());
    EXPECT_EQ("https://r.example/b", rdf.items[1].address);  // rdf:about when there is no link

    ParsedFeed atom = Parse(
        "<feed xmlns=\"http://www.w3.org/2005/Atom\"><title type=\"text\">Atom &amp; Co</title>"
        "<link rel=\"self\" href=\"/feed.atom\"/>"
        "<entry><title>E1</title><link rel=\"replies\" href=\"/c/1\"/><link rel=\"enclosure\" href=\"/x.mp3\"/>"
        "<link rel=\"alternate\" type=\"text/html\" href=\"/e/1\"/><id>urn:e1</id>"
        "<source><title>Other</title><link href=\"https://other.example/\"/></source></entry>"
        "<entry><title type=\"xhtml\"><div xmlns=\"http://www.w3.org/1999/xhtml\"><b>E</b>2</div></title>"
        "<link href=\"e/2\"/><id>https://news.example/id/2</id></entry>"
        "<entry><title>no link</title><id>urn:e3</id></entry></feed>");
    ASSERT_TRUE(atom.isFeed);
    EXPECT_EQ("Atom & Co", atom.title);
    ASSERT_EQ(2u, atom.items.size());
    EXPECT_EQ("https://news.example/e/1", atom.items[0].address);  // alternate, not replies
    EXPECT_EQ("urn:e1", atom.items[0].id);
    EXPECT_EQ("E1", atom.items[0].title);  // not the source's title
    EXPECT_EQ("E2", atom.items[1].title);
    EXPECT_EQ("https://news.example/feed/e/2", atom.items[1].address);
}

TEST(Feed, TitlesAreCleanedText) {
    ParsedFeed f = Parse(Rss(
        "<item><title><![CDATA[<b>Bold</b> & \x93\xfa\x96\x7b ]]></title><link>https://n.example/1</link></item>"
        "<item><title>&lt;em&gt;Esc&lt;/em&gt; &#65;&#x42; &quot;q&quot;\r\n\t  end</title>"
        "<link>https://n.example/2</link></item>"
        "<item><title>&#x3042;&hellip;&#12354;&#x4E00;</title><link>https://n.example/3</link></item>"
        "<item><title></title><link>https://n.example/4</link></item>"
        "<item><title>\xF4\x02x\x81</title><link>https://n.example/\x93</link></item>"
        "<item><link>https://n.example/\x93</link></item>"));
    ASSERT_EQ(6u, f.items.size());
    // no half characters and no control characters, whatever the bytes
    EXPECT_EQ("x", f.items[4].title);
    EXPECT_EQ("https://n.example/", f.items[5].title);
    EXPECT_EQ("Bold & \x93\xfa\x96\x7b", f.items[0].title);
    EXPECT_EQ("Esc AB \"q\" end", f.items[1].title);
    // kana and common punctuation keep their form; a character without one gets the stand-in
    EXPECT_EQ(std::string("\x82\xa0\x81\x63\x82\xa0") + SjisStandIn, f.items[2].title);
    EXPECT_EQ("https://n.example/4", f.items[3].title);  // an empty title shows the address

    // a long title is cut on a character boundary
    std::string kanji;
    for (int i = 0; i < 400; ++i) kanji += "\x93\xfa";
    ParsedFeed longTitle = Parse(Rss("<item><title>a" + kanji + "</title><link>https://n.example/</link></item>"));
    ASSERT_EQ(1u, longTitle.items.size());
    EXPECT_EQ(std::string("a") + kanji.substr(0, 254), longTitle.items[0].title);
}

TEST(Feed, OnlyWebAddressesAreListed) {
    ParsedFeed f = Parse(Rss(
        "<item><title>js</title><link>javascript:alert(1)</link></item>"
        "<item><title>file</title><link>file:///C:/Windows/notepad.exe</link></item>"
        "<item><title>relative guid</title><guid>12345</guid></item>"
        "<item><title>guid</title><guid isPermaLink=\"false\">https://n.example/g\r\n x</guid></item>"
        "<item><title>ctl</title><link>https://n.example/a\x01" "b</link></item>"
        "<item><title>long</title><link>https://n.example/" + std::string(2000, 'a') + "</link></item>"
        "<item><title>rel</title><link>  ../b/c?x=1&amp;y=2#f  </link></item>"
        "<item><title>proto</title><link>//cdn.example/p</link></item>"));
    ASSERT_EQ(3u, f.items.size());
    EXPECT_EQ("https://n.example/g x", f.items[0].id);  // an identifier is one line
    EXPECT_EQ("https://n.example/g%20x", f.items[0].address);
    EXPECT_EQ("https://news.example/b/c?x=1&y=2#f", f.items[1].address);
    EXPECT_EQ("https://cdn.example/p", f.items[2].address);
}

TEST(Feed, SloppyMarkupKeepsTheReadableItems) {
    // a stray '&', an unclosed title, an unclosed item, an unterminated comment at the end
    ParsedFeed f = Parse(
        "<rss><channel><title>AT&T news</title>"
        "<item><title>Tom & Jerry</title><link>https://n.example/1</link></item>"
        "<item><title>unclosed<link>https://n.example/2</link></item>"
        "<item><title>open item</title><link>https://n.example/3</link>"
        "<item><title a=\"x>y\">quoted</title><link>https://n.example/4</link></item>"
        "<item><title>last</title><link>https://n.example/5</link><!-- never ends");
    ASSERT_TRUE(f.isFeed);
    EXPECT_EQ("AT&T news", f.title);
    ASSERT_EQ(5u, f.items.size());
    EXPECT_EQ("Tom & Jerry", f.items[0].title);
    EXPECT_EQ("unclosed", f.items[1].title);
    EXPECT_EQ("https://n.example/2", f.items[1].address);
    EXPECT_EQ("open item", f.items[2].title);
    EXPECT_EQ("quoted", f.items[3].title);
    EXPECT_EQ("https://n.example/5", f.items[4].address);

    // a CDATA section whose text holds a character with ']' as its trail byte
    ParsedFeed cdata = Parse(Rss("<item><title><![CDATA[\x83\x5d]>x]]></title><link>https://n.example/</link></item>"));
    ASSERT_EQ(1u, cdata.items.size());
    EXPECT_EQ("\x83\x5d]>x", cdata.items[0].title);

    // a '<' with no '>' after it, and a quote that never closes
    EXPECT_EQ(1u, Parse(Rss("<item><title>t</title><link>https://n.example/</link></item><item x=\"")).items.size());
    EXPECT_EQ(1u, Parse(Rss("<item><title>t</title><link>https://n.example/</link></item><ite")).items.size());
}

TEST(Feed, NotAFeedAndTheItemLimit) {
    EXPECT_FALSE(Parse("<!DOCTYPE html><html><body><item><link>https://n.example/</link></item></body></html>").isFeed);
    EXPECT_FALSE(Parse("").isFeed);
    EXPECT_FALSE(Parse("plain text").isFeed);
    std::string items;
    for (int i = 0; i < 30; ++i)
        items += "<item><title>t</title><link>https://n.example/" + std::to_string(i) + "</link></item>";
    ParsedFeed f = Parse(Rss(items), "", 20);
    ASSERT_EQ(20u, f.items.size());
    EXPECT_EQ("https://n.example/19", f.items[19].address);
    // no feed address: relative links cannot be resolved and are skipped
    EXPECT_TRUE(Parse(Rss("<item><title>t</title><link>/a</link></item>"), "").items.empty());
}

TEST(FeedAddress, Resolves) {
    const char* base = "https://Site.Example/a/b/c.html?q=1#top";
    EXPECT_EQ("https://site.example/a/b/d.xml", ResolveAddress(base, "d.xml"));
    EXPECT_EQ("https://site.example/a/x", ResolveAddress(base, "../x"));
    EXPECT_EQ("https://site.example/x", ResolveAddress(base, "../../../../x"));
    EXPECT_EQ("https://site.example/r", ResolveAddress(base, "/r"));
    EXPECT_EQ("https://site.example/a/b/c.html?z", ResolveAddress(base, "?z"));
    EXPECT_EQ("https://site.example/a/b/c.html?q=1#n", ResolveAddress(base, "#n"));
    EXPECT_EQ("https://site.example/a/b/c.html?q=1", ResolveAddress(base, ""));
    EXPECT_EQ("https://other.example/", ResolveAddress(base, "//Other.Example"));
    EXPECT_EQ("http://other.example/p/q", ResolveAddress(base, "HTTP://OTHER.example/p/./q"));
    EXPECT_EQ("https://site.example/a/b/a%20b", ResolveAddress(base, " a b "));
    EXPECT_EQ("", ResolveAddress(base, "mailto:a@b.example"));
    EXPECT_EQ("", ResolveAddress(base, "data:text/html,x"));
    EXPECT_EQ("", ResolveAddress(base, "https://"));
    EXPECT_EQ("", ResolveAddress("file:///C:/feeds/", "a.xml"));
    EXPECT_EQ("", ResolveAddress("", "a.xml"));
    EXPECT_EQ("", ResolveAddress(nullptr, "a.xml"));
}

TEST(FeedEncoding, FollowsBomPrologAndHeader) {
    auto detect = [](const std::string& s, const char* type) { return DetectFeedEncoding(s.data(), s.size(), type); };
    EXPECT_EQ(FeedEncoding::Utf8, detect("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><rss/>", ""));
    EXPECT_EQ(FeedEncoding::ShiftJis, detect("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><rss>\x93\xfa</rss>", nullptr));
    EXPECT_EQ(FeedEncoding::EucJp, detect("  <?xml version='1.0' encoding='euc-jp' ?><feed>\xc6\xfc</feed>",
                                          "text/xml; charset=UTF-8"));
    EXPECT_EQ(FeedEncoding::ShiftJis, detect("<?xml version=\"1.0\"?><rss>\x93\xfa</rss>", "application/rss+xml; charset=\"windows-31j\""));
    EXPECT_EQ(FeedEncoding::EucJp, detect("<html><head><meta charset=\"EUC-JP\"><title>\xc6\xfc</title>", ""));
    EXPECT_EQ(FeedEncoding::ShiftJis,
              detect("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\x93\xfa", ""));
    EXPECT_EQ(FeedEncoding::Utf8, detect("<rss>\xe6\x97\xa5</rss>", ""));
    EXPECT_EQ(FeedEncoding::Utf8, detect("<?xml version=\"1.0\" encoding=\"iso-2022-jp\"?>", ""));
    // declared Shift_JIS, but every byte is UTF-8 with Japanese in it: the declaration is stale
    EXPECT_EQ(FeedEncoding::Utf8, detect("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><rss>\xe6\x97\xa5</rss>", ""));
}

TEST(FeedLinks, FoundInPages) {
    const std::string page =
        "<html><head><base href=\"https://site.example/news/\">"
        "<!-- <link rel=\"alternate\" type=\"application/rss+xml\" href=\"/old.rss\"> -->"
        "<script>var s = '<link rel=\"alternate\" type=\"application/rss+xml\" href=\"/js.rss\">';</script>"
        "<LINK REL=\"alternate stylesheet\" TYPE=\"text/css\" HREF=\"a.css\">"
        "<link rel=\"Alternate\" type=\"application/rss+xml\" title=\"\x8e\xe5\x97\x76 &amp; all\" href=\"top.rss\">"
        "<link rel=alternate type='application/atom+xml; charset=utf-8' href=//site.example/news/atom.xml>"
        "<link rel=\"alternate\" type=\"application/rss+xml\" href=\"top.rss\">"
        "<link rel=\"alternate\" type=\"application/rss+xml\" href=\"javascript:x()\">"
        "<link rel=\"alternate\" hreflang=\"en\" href=\"/en/\">"
        "</head><body></body></html>";
    std::vector<FeedLink> links = FindFeedLinks(page.data(), page.size(), "https://site.example/index.html");
    ASSERT_EQ(2u, links.size());
    EXPECT_EQ("https://site.example/news/top.rss", links[0].address);
    EXPECT_EQ("\x8e\xe5\x97\x76 & all", links[0].title);
    EXPECT_EQ("https://site.example/news/atom.xml", links[1].address);
    EXPECT_EQ("", links[1].title);
    const std::string none = "<html><head><title>x</title></head></html>";
    EXPECT_TRUE(FindFeedLinks(none.data(), none.size(), "https://site.example/").empty());
}

// Saved feeds of real news sites (../shared/realworld beside the repository): each yields
// exactly its items, every one with a title and a web address.
TEST(Feed, RealFeedsYieldTheirItems) {
    struct Case {
        const char* file;
        std::size_t items;
        FeedEncoding encoding;
    };
    const Case cases[] = {{"asahi-newsheadlines-2021-03-21.rdf", 43, FeedEncoding::Utf8},
                          {"news24-index-2021-b.rdf", 51, FeedEncoding::Utf8},
                          {"nhk-cat0-2021-03-22.xml", 7, FeedEncoding::Utf8},
                          {"yahoo-topics-top-picks-2023-02-10.xml", 8, FeedEncoding::Utf8}};
    const std::string folder = Root() + "/../shared/realworld/";
    std::string probe;
    if (!ReadFile(folder + cases[0].file, &probe)) GTEST_SKIP() << "no saved real feeds";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::string bytes;
        ASSERT_TRUE(ReadFile(folder + c.file, &bytes));
        EXPECT_EQ(c.encoding, DetectFeedEncoding(bytes.data(), bytes.size(), ""));
        const std::string text = ToShiftJis(bytes);
        ParsedFeed f = ParseFeed(text.data(), text.size(), "https://feeds.example/", 500);
        EXPECT_TRUE(f.isFeed);
        EXPECT_FALSE(f.title.empty());
        ASSERT_EQ(c.items, f.items.size());
        for (const FeedItem& item : f.items) {
            EXPECT_FALSE(item.title.empty());
            EXPECT_EQ(0u, item.address.rfind("http", 0)) << item.address;
            EXPECT_EQ(std::string::npos, item.title.find('<')) << item.title;
        }
    }
}

// Every JIS X 0208 character converts as the system's converter converts it.
TEST(FeedEncoding, EucJpToShiftJisMatchesTheCodePage) {
    iconv_t cd = iconv_open("CP932", "EUC-JP");
    if (cd == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "no EUC-JP converter";
    int compared = 0;
    for (unsigned j1 = 0x21; j1 <= 0x74; ++j1) {
        for (unsigned j2 = 0x21; j2 <= 0x7E; ++j2) {
            char euc[2] = {static_cast<char>(j1 + 0x80), static_cast<char>(j2 + 0x80)};
            char sjis[4];
            char* in = euc;
            char* to = sjis;
            std::size_t inLeft = 2, toLeft = sizeof sjis;
            if (iconv(cd, &in, &inLeft, &to, &toLeft) == static_cast<std::size_t>(-1)) {
                iconv(cd, nullptr, nullptr, nullptr, nullptr);
                continue;  // unassigned
            }
            ASSERT_EQ(std::string(sjis, to), EucJpToShiftJis(euc, 2)) << std::hex << j1 << " " << j2;
            ++compared;
        }
    }
    iconv_close(cd);
    EXPECT_GT(compared, 6800);
    EXPECT_EQ("a\xB6" "b" + std::string(SjisStandIn) + SjisStandIn + "c" + SjisStandIn,
              EucJpToShiftJis("a\x8E\xB6" "b\x8F\xA2\xAF\xFF" "c\xC6", 10));
}
