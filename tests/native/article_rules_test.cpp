#include "retrieval/article_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "retrieval/sources.h"

#include "tests/native/test_files.h"

namespace {

std::string Fixture(const char* name) {
    std::string text;
    EXPECT_TRUE(ReadPage(Root() + "/testing/site/fixtures/articles/" + name, &text)) << name;
    return text;
}

// One level of related links, as large as a level of the headline store.
struct Links {
    std::unique_ptr<char[][TitleCapacity]> titles{new char[HeadlinesPerLevel][TitleCapacity]()};
    std::unique_ptr<char[][AddressCapacity]> addresses{new char[HeadlinesPerLevel][AddressCapacity]()};
    int count = -1;
};

ArticleMarkers FixtureMarkers() {
    ArticleMarkers m;
    m.bodyStart = "<div class=\"article-body\">";
    m.bodyEnd = "<!-- /article-body -->";
    m.spanStart = "【広告】";
    m.spanEnd = "【広告ここまで】";
    return m;
}

TEST(ArticleAddress, ParentPathsAreResolvedInTheStoreAndJoinedToTheBase) {
    char stored[AddressCapacity] = "../../news/a.html";
    char page[AddressCapacity];
    EXPECT_EQ(CompleteArticleAddress(stored, "https://localhost/cat/", page, sizeof page), 1);
    EXPECT_STREQ(stored, "/news/a.html");
    EXPECT_STREQ(page, "https://localhost/cat/news/a.html");

    char absolute[AddressCapacity] = "https://example.jp/x/y.html?id=3";
    EXPECT_EQ(CompleteArticleAddress(absolute, "https://localhost/", page, sizeof page), 1);
    EXPECT_STREQ(page, "https://example.jp/x/y.html?id=3");

    // An empty base leaves the address as it is; no byte before the buffer is taken.
    char relative[AddressCapacity] = "a.html";
    EXPECT_EQ(CompleteArticleAddress(relative, "", page, sizeof page), 1);
    EXPECT_STREQ(page, "a.html");
}

TEST(ArticleAddress, ALongAddressIsCutToTheCapacity) {
    std::string longAddress(AddressCapacity - 1, 'a');
    char stored[AddressCapacity];
    std::memcpy(stored, longAddress.c_str(), longAddress.size() + 1);
    Page page("", 32);
    EXPECT_EQ(CompleteArticleAddress(stored, "https://localhost/cat/", page.get(), page.capacity), 0);
    EXPECT_EQ(page.str().size(), 31u);
    EXPECT_TRUE(page.GuardIntact());
}

TEST(ArticleBody, MissingStartMarkerLeavesThePageForTheBrowserQuestion) {
    ArticleSource plain;
    std::string text = Fixture("missing.html");
    Page page(text, ArticlePageCapacity);
    Links links;
    EXPECT_EQ(ExtractArticle(page.get(),
                             page.capacity,
                             plain,
                             FixtureMarkers(),
                             links.titles.get(),
                             links.addresses.get(),
                             &links.count,
                             true),
              0);
    EXPECT_EQ(page.str(), text);
    EXPECT_EQ(links.count, 0);
}

TEST(ArticleBody, FixtureArticleIsCleanedIntoLinesWithItsLinks) {
    Page page(Fixture("plain.html"), ArticlePageCapacity);
    Links links;
    ASSERT_EQ(ExtractArticle(page.get(),
                             page.capacity,
                             ArticleSource(),
                             FixtureMarkers(),
                             links.titles.get(),
                             links.addresses.get(),
                             &links.count,
                             true),
              1);
    // Tags, tabs, arrows, &nbsp;, the category's span, empty lines and everything from
    // the cache script on are gone.
    EXPECT_EQ(page.str(),
              "\n記事の見出し：試験\n　本文の一行目です。矢印\n二行目にタブ。\n\n"
              "関連：続報 B: 詳しく\n記事E\n最後の段落です。\nvar t = 1; ");
    // The image link and the link without text are skipped without leaving a gap; the
    // ASCII colon of a title becomes a full-width one.
    ASSERT_EQ(links.count, 2);
    EXPECT_STREQ(links.titles[0], "続報 B： 詳しく");
    EXPECT_STREQ(links.addresses[0], "/news/b.html");
    EXPECT_STREQ(links.titles[1], "記事E");
    EXPECT_STREQ(links.addresses[1], "https://localhost/articles/e.html");

    // An Asahi RSS category keeps the text but offers no links.
    Page again(Fixture("plain.html"), ArticlePageCapacity);
    Links none;
    ASSERT_EQ(ExtractArticle(again.get(),
                             again.capacity,
                             ArticleSource(),
                             FixtureMarkers(),
                             none.titles.get(),
                             none.addresses.get(),
                             &none.count,
                             false),
              1);
    EXPECT_EQ(none.count, 0);
    EXPECT_EQ(again.str(), page.str());
}

TEST(ArticleBody, YahooSourceFallsBackOnItsOwnMarkersAndDropsRelatedArticles) {
    ArticleSource yahoo;
    yahoo.yahoo = true;
    ArticleMarkers m;
    m.bodyStart = "<div class=\"no-such\">";
    m.bodyEnd = "<div class=\"nor-this\">";
    Page page(
        "head<div class=\"hdLogoWrap\">A<div class=\"listTitle\">【関連記事】</div>B"
        "<!--- interest_match_relevant_zone_end --->C",
        1024);
    EXPECT_EQ(CutArticleBody(page.get(), yahoo, m), 1);
    EXPECT_EQ(page.str(), "A");

    // With its markers present the last end marker counts.
    m.bodyStart = "[";
    m.bodyEnd = "]";
    Page marked("x[a]b]c", 64);
    EXPECT_EQ(CutArticleBody(marked.get(), yahoo, m), 1);
    EXPECT_EQ(marked.str(), "a]b");
}

TEST(ArticleSourceRules, EachSourceGetsItsOwnCuts) {
    ArticleMarkers m;
    m.spanStart = "<s>";
    m.spanEnd = "</s>";

    ArticleSource sankei;
    sankei.sankei = true;
    Page spans("0<s>1</s>a<s>2</s>b<s>3</s>c<s>4</s>d<s>5</s>e<s>6</s>f", 256);
    ApplySourceRules(spans.get(), sankei, m);
    EXPECT_EQ(spans.str(), "0abcde<s>6</s>f");  // five spans go, the sixth stays

    ArticleSource rss;
    rss.rss = true;
    Page feed("本文<h2>こんな記事も読まれています</h2>x<div class=\"listTitle\">【関連記事】</div>y", 256);
    ApplySourceRules(feed.get(), rss, m);
    EXPECT_EQ(feed.str(), "本文");

    ArticleSource animate;
    animate.animate = true;
    Page script("a var x = f({});b var y = g({});c var z = h({});d", 256);
    ApplySourceRules(script.get(), animate, m);
    EXPECT_EQ(script.str(), "a b c var z = h({});d");  // twice, not more

    ArticleSource daily;
    daily.dailySports = true;
    Page detail(
        "x<a href=\"javascript:DAILY.openNewsDetail();\">1</a>y<a "
        "href=\"javascript:DAILY.openNewsDetail();\">2",
        256);
    ApplySourceRules(detail.get(), daily, m);
    EXPECT_EQ(detail.str(), "x");

    // The main-contents rule follows the category's body marker, whatever the source.
    ArticleMarkers contents = m;
    contents.bodyStart = "<div class=\"p-main-contents \">";
    Page main("a<div class=\"p-main-contents\">b<aside class=\"ev-article-manual-related__article-inline\">c",
              256);
    ApplySourceRules(main.get(), ArticleSource(), contents);
    EXPECT_EQ(main.str(), "b");
    Page untouched("a<div class=\"p-main-contents\">b", 256);
    ApplySourceRules(untouched.get(), ArticleSource(), m);
    EXPECT_EQ(untouched.str(), "a<div class=\"p-main-contents\">b");
}

TEST(ArticleSourceRules, StyleBlockAndAdvertisementScriptAreRemovedOnlyWhereTheyBelong) {
    const std::string style =
        "a/* sc-component-id: sc-hzDkRC */.x{}.fHXFEz{width:100%;margin-top:4px;"
        "font-size:0.7499999999999999rem;line-height:1.3;color:#949494;}b";
    ArticleSource yahoo;
    yahoo.yahoo = true;
    Page styled(style, 1024);
    CleanArticleText(styled.get(), styled.capacity, yahoo, ArticleMarkers(), true);
    EXPECT_EQ(styled.str(), "ab");
    Page kept(style, 1024);
    CleanArticleText(kept.get(), kept.capacity, ArticleSource(), ArticleMarkers(), true);
    EXPECT_EQ(kept.str(), style);

    ArticleSource allAbout;
    allAbout.allAbout = true;
    Page ad("a googletag.cmd.push(function() {});b", 256);
    CleanArticleText(ad.get(), ad.capacity, allAbout, ArticleMarkers(), true);
    EXPECT_EQ(ad.str(), "a b");
    Page recording("a googletag.cmd.push(function() {});b", 256);
    CleanArticleText(recording.get(), recording.capacity, allAbout, ArticleMarkers(), false);
    EXPECT_EQ(recording.str(), "a googletag.cmd.push(function() {});b");
}

TEST(ArticleSourceRules, SourcesAreToldApartByExactIdentifier) {
    EXPECT_TRUE(ClassifyArticleSource("rss").rss);
    EXPECT_FALSE(ClassifyArticleSource("rss ").rss);
    ArticleSource yahoo = ClassifyArticleSource(SourceAddress(SourceYahooNews));
    EXPECT_TRUE(yahoo.yahoo);
    EXPECT_FALSE(yahoo.yahooPaged);
    ArticleSource paged = ClassifyArticleSource(SourceAddress(SourceYahooNewsDoubled));
    EXPECT_TRUE(paged.yahooPaged);
    EXPECT_FALSE(paged.yahoo);
    EXPECT_TRUE(ClassifyArticleSource(SourceAddress(SourceWeather)).weather);
    EXPECT_TRUE(ClassifyArticleSource(SourceAddress(SourceSankei)).sankei);
}

TEST(RelatedLinks, AtMostTheLimitAndEveryFieldWithinItsCapacity) {
    std::string page;
    for (int i = 0; i < 150; ++i)
        page += "<a href=\"/n/" + std::to_string(i) + ".html\">記事" + std::to_string(i) + "</a>";
    // A hostile anchor: overlong address and title.
    std::string hostile = "<a href=\"" + std::string(5000, 'h') + "\">" + std::string(3000, 't') + "</a>";
    Links links;
    EXPECT_EQ(CollectRelatedLinks(page.c_str(), links.titles.get(), links.addresses.get(), RelatedLinkLimit),
              100);
    EXPECT_STREQ(links.titles[99], "記事99");
    EXPECT_STREQ(links.addresses[99], "/n/99.html");
    EXPECT_EQ(
        CollectRelatedLinks(page.c_str(), links.titles.get(), links.addresses.get(), RecordingLinkLimit),
        150);

    EXPECT_EQ(CollectRelatedLinks(hostile.c_str(), links.titles.get(), links.addresses.get(), 10), 1);
    EXPECT_EQ(std::strlen(links.addresses[0]), AddressCapacity - 1u);
    EXPECT_EQ(std::strlen(links.titles[0]), TitleCapacity - 1u);
}

TEST(RelatedLinks, AsahiFeedsAreRecognisedByPath) {
    const char* host = "https://www.asahi.com";
    for (const char* feed : {"national",
                             "business",
                             "politics",
                             "international",
                             "sports",
                             "culture",
                             "science",
                             "newsheadlines"}) {
        std::string address = std::string(host) + "/rss/asahi/" + feed + ".rdf";
        EXPECT_TRUE(IsAsahiRssFeed(address.c_str(), host)) << feed;
        EXPECT_TRUE(IsAsahiRssFeed(address.c_str(), "https://www.asahi.com/")) << feed;
    }
    EXPECT_FALSE(IsAsahiRssFeed("https://www.asahi.com/rss/asahi/weather.rdf", host));
    EXPECT_FALSE(IsAsahiRssFeed("https://other.jp/rss/asahi/national.rdf", host));
    EXPECT_FALSE(IsAsahiRssFeed("https://www.asahi.com/rss/asahi/national.rdf?x", host));
}

TEST(ArticleCleaning, HugeBodyIsFoldedWithinItsCapacity) {
    // 300 KB of CR LF lines: the fold works on at most FoldCapacity bytes.
    std::string body;
    while (body.size() < 300000) body += "あいうえお\r\n";
    Page page(body, ArticlePageCapacity);
    CleanArticleText(page.get(), page.capacity, ArticleSource(), ArticleMarkers(), true);
    std::string text = page.str();
    EXPECT_LT(text.size(), FoldCapacity);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    const std::string line = "あいうえお\n";
    EXPECT_EQ(text.substr(0, line.size()), line);
    // The cut at the fold's capacity falls inside "え" and drops its lead byte.
    const std::string last = text.substr(text.rfind('\n') + 1);
    EXPECT_EQ(last, "あいう");
}

TEST(ArticleTitle, TextAfterTheFirstLineWithoutSpacesTabsOrLineFeeds) {
    char title[TitleCapacity];
    MakeArticlePageTitle("12:00\n 大雨 に\t警戒\n続き ", title, sizeof title);
    EXPECT_STREQ(title, "大雨に警戒続き");
    MakeArticlePageTitle("A title without break", title, sizeof title);
    EXPECT_STREQ(title, "Atitlewithoutbreak");
    char tiny[4];
    MakeArticlePageTitle("\nabcdef", tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "abc");
}

TEST(ArticlePaging, ContinuationAddressesAndSuffixes) {
    char base[AddressCapacity];
    EXPECT_EQ(PagedArticleBase("/articles/a.html?page=2", "https://localhost/", base, sizeof base), 1);
    EXPECT_STREQ(base, "https://localhost/articles/a.html");
    EXPECT_EQ(PagedArticleBase("/articles/a.html?page=3", "https://localhost", base, sizeof base), 0);
    EXPECT_EQ(PagedArticleBase("?page=2x", "https://localhost", base, sizeof base), 0);
    EXPECT_STREQ(ContinuationSuffix(2), "?page=2");
    EXPECT_STREQ(ContinuationSuffix(10), "?page=10");
    EXPECT_STREQ(ContinuationSuffix(1), "");
    EXPECT_STREQ(ContinuationSuffix(11), "");
}

TEST(ArticlePaging, FixturePagesJoinWithoutTheirPagers) {
    ArticleSource rss;
    rss.rss = true;
    Page first(Fixture("rss.html"), ArticlePageCapacity);
    Links links;
    ASSERT_EQ(ExtractArticle(first.get(),
                             first.capacity,
                             rss,
                             FixtureMarkers(),
                             links.titles.get(),
                             links.addresses.get(),
                             &links.count,
                             true),
              1);
    ASSERT_EQ(links.count, 1);  // links below the related-articles heading are cut away
    char base[AddressCapacity];
    ASSERT_EQ(PagedArticleBase(links.addresses[0], "https://localhost", base, sizeof base), 1);
    EXPECT_STREQ(base, "https://localhost/articles/rss.html");

    Page joined(first.str(), ArticleTextCapacity);
    for (const char* name : {"rss.html@page=2", "rss.html@page=3"}) {
        Page next(Fixture(name), ArticlePageCapacity);
        ASSERT_EQ(ExtractContinuationPage(next.get(), next.capacity, FixtureMarkers()), 1);
        AppendContinuationPage(joined.get(), joined.capacity, next.get());
    }
    EXPECT_EQ(joined.str(),
              "\n一ページ目の本文です。\n次のページ\n\n2ページ目の本文です。\n\n\n3ページ目の本文です。\n\n");

    Page missing(Fixture("missing.html"), ArticlePageCapacity);
    EXPECT_EQ(ExtractContinuationPage(missing.get(), missing.capacity, FixtureMarkers()), 0);
}

TEST(ArticlePaging, PagerSpanGoesOnlyWhenItsStartIsThere) {
    // A pager from "前へ" to the source line goes, with what lies between.
    Page joined("一ページ目。\n", ArticleTextCapacity);
    AppendContinuationPage(joined.get(), joined.capacity, "前へ 1 2 次へ\n共同通信配信\n二ページ目。\n");
    EXPECT_EQ(joined.str(), "一ページ目。\n\n二ページ目。\n");

    // A page with the source line but no "前へ" keeps all its text.
    Page kept("一ページ目。\n", ArticleTextCapacity);
    AppendContinuationPage(kept.get(), kept.capacity, "二ページ目。\n共同通信配信\n");
    EXPECT_EQ(kept.str(), "一ページ目。\n二ページ目。\n共同通信配信\n");
}

TEST(ArticlePaging, JoinedAndRecordingTextsStopAtTheirCapacity) {
    Page joined(std::string(ArticleTextCapacity - 10, 'a'), ArticleTextCapacity);
    AppendContinuationPage(joined.get(), joined.capacity, "あいうえおかきくけこ");
    std::string text = joined.str();
    EXPECT_EQ(text.size(), ArticleTextCapacity - 2);  // the half character is left out
    EXPECT_TRUE(joined.GuardIntact());

    Page out("", ArticleTextCapacity);
    std::string body(200000, 'b');
    ComposeRecordingText("見出し", body.c_str(), true, out.get(), out.capacity);
    EXPECT_EQ(out.str().size(), ArticleTextCapacity - 1);
    EXPECT_EQ(out.str().rfind("見出し\r\nbbb", 0), 0u);
    EXPECT_TRUE(out.GuardIntact());
    ComposeRecordingText("見出し", "本文", false, out.get(), out.capacity);
    EXPECT_EQ(out.str(), "本文");
}

TEST(ArticleRecording, NoMarkerTestNoSourceRulesAndUpTo300Links) {
    std::string page = "<div class=\"article-body\">";
    for (int i = 0; i < 320; ++i)
        page += "<p><a href=\"/l" + std::to_string(i) + "\">L" + std::to_string(i) + "</a></p>";
    page += "<!-- /article-body -->";
    Page text(page, ArticlePageCapacity);
    Links links;
    ArticleSource sankei;
    sankei.sankei = true;
    ExtractRecordingArticle(text.get(),
                            text.capacity,
                            sankei,
                            FixtureMarkers(),
                            links.titles.get(),
                            links.addresses.get(),
                            &links.count);
    EXPECT_EQ(links.count, 300);
    EXPECT_EQ(text.str().substr(0, 6), "L0\nL1\n");

    Page missing(Fixture("missing.html"), ArticlePageCapacity);
    ExtractRecordingArticle(missing.get(),
                            missing.capacity,
                            ArticleSource(),
                            FixtureMarkers(),
                            links.titles.get(),
                            links.addresses.get(),
                            &links.count);
    EXPECT_NE(missing.str().find("この記事の本文は別の作りです。"), std::string::npos);
}

// Saved pages of real news sites (../shared/realworld beside the repository).
class RealPages : public ::testing::Test {
  protected:
    bool Load(const char* name, std::string* text) {
        return ReadPage(Root() + "/../shared/realworld/" + name, text);
    }
};

bool NoTagsLeft(const std::string& text) {
    return text.find("<p") == std::string::npos && text.find("<div") == std::string::npos &&
           text.find("<a ") == std::string::npos;
}

TEST_F(RealPages, YahooArticleWithAndWithoutItsCategoryMarkers) {
    std::string html;
    if (!Load("readability-yahoo-news-jp-article.html", &html)) GTEST_SKIP() << "no saved pages";
    ArticleSource yahoo;
    yahoo.yahoo = true;

    ArticleMarkers m;
    m.bodyStart = "<div class=\"paragraph\">";
    m.bodyEnd = "<!-- /.paragraph -->";
    Page page(html, ArticlePageCapacity);
    Links links;
    ASSERT_EQ(ExtractArticle(page.get(),
                             page.capacity,
                             yahoo,
                             m,
                             links.titles.get(),
                             links.addresses.get(),
                             &links.count,
                             true),
              1);
    std::string text = page.str();
    EXPECT_EQ(text.find("トレンドマイクロは3月9日"), text.find_first_not_of(" \n"));
    EXPECT_EQ(text.find("【関連記事】"), std::string::npos);
    EXPECT_TRUE(NoTagsLeft(text));
    EXPECT_EQ(text.find("\n\n"), std::string::npos);

    // Markers that match nothing: the fallback keeps the page up to the related
    // articles, so the text is wide but still holds the body and not what follows.
    m.bodyStart = "<div class=\"gone\">";
    m.bodyEnd = "<div class=\"gone-too\">";
    Page wide(html, ArticlePageCapacity);
    ASSERT_EQ(ExtractArticle(wide.get(),
                             wide.capacity,
                             yahoo,
                             m,
                             links.titles.get(),
                             links.addresses.get(),
                             &links.count,
                             true),
              1);
    std::string wideText = wide.str();
    EXPECT_NE(wideText.find("トレンドマイクロは3月9日"), std::string::npos);
    EXPECT_EQ(wideText.find("【関連記事】"), std::string::npos);
    EXPECT_GT(links.count, 0);
}

TEST_F(RealPages, OtherArticlesAreCutOrRefusedCleanly) {
    std::string html;
    if (!Load("newspaper-nikkei-article.html", &html)) GTEST_SKIP() << "no saved pages";
    ArticleMarkers m;
    m.bodyStart = "<div  class=\"cmn-article_text a-cf JSID_key_fonttxt m-streamer_medium\" >";
    m.bodyEnd = "<div class=\"m-articleRegist";
    Page page(html, ArticlePageCapacity);
    Links links;
    ASSERT_EQ(ExtractArticle(page.get(),
                             page.capacity,
                             ArticleSource(),
                             m,
                             links.titles.get(),
                             links.addresses.get(),
                             &links.count,
                             true),
              1);
    std::string text = page.str();
    EXPECT_NE(text.find("６月12日の歴史的な米朝首脳会談"), std::string::npos);
    EXPECT_TRUE(NoTagsLeft(text));

    // Today's Yomiuri marker has a space the saved page lacks: the browser question.
    ASSERT_TRUE(Load("mercury-yomiuri-article.html", &html));
    m.bodyStart = "<div class=\"p-main-contents \">";
    m.bodyEnd = "</article>";
    Page yomiuri(html, ArticlePageCapacity);
    EXPECT_EQ(ExtractArticle(yomiuri.get(),
                             yomiuri.capacity,
                             ArticleSource(),
                             m,
                             links.titles.get(),
                             links.addresses.get(),
                             &links.count,
                             true),
              0);
    EXPECT_EQ(yomiuri.str(), html);
    // The recording variant does not ask: it takes the page as the markers leave it.
    ExtractRecordingArticle(yomiuri.get(),
                            yomiuri.capacity,
                            ArticleSource(),
                            m,
                            links.titles.get(),
                            links.addresses.get(),
                            &links.count);
    EXPECT_LT(yomiuri.str().size(), html.size());
}

std::string Complete(std::string link, const char* base) {
    char page[AddressCapacity];
    char stored[AddressCapacity];
    std::snprintf(stored, sizeof stored, "%s", link.c_str());
    EXPECT_EQ(1, CompleteRelatedAddress(stored, base, page, sizeof page));
    return page;
}

std::string Repaired(std::string address, const char* gooHost = "news.goo.ne.jp") {
    char text[AddressCapacity];
    std::snprintf(text, sizeof text, "%s", address.c_str());
    RepairRelatedAddress(text, sizeof text, gooHost);
    return text;
}

TEST(RelatedAddress, AParentLinkJoinsTheWholeBaseAndOnlyKnownHostsAreRepaired) {
    // The base is taken whole: a parent link leaves two slashes at the seam.
    EXPECT_EQ("https://news.goo.ne.jp//x/y.html", Complete("../x/y.html", "https://news.goo.ne.jp/"));
    EXPECT_EQ("https://news.goo.ne.jp/x/y.html",
              Repaired(Complete("../x/y.html", "https://news.goo.ne.jp/")));
    EXPECT_EQ("https://example.net/a/b.html", Repaired(Complete("../../a/b.html", "https://example.net/")));
    EXPECT_EQ("https://example.jp//x/y.html", Repaired(Complete("../x/y.html", "https://example.jp/")));
    // A full address is taken as it is; a relative one without "../" is only joined.
    EXPECT_EQ("https://other.jp/p.html", Complete("https://other.jp/p.html", "https://news.goo.ne.jp/"));
    EXPECT_EQ("https://news.yahoo.co.jp/a.html", Complete("/a.html", "https://news.yahoo.co.jp"));
    // Only the doubled slash after the host is repaired, not one in the path.
    EXPECT_EQ("https://news.goo.ne.jp/a//b", Repaired("https://news.goo.ne.jp//a//b"));
    EXPECT_EQ("https://example.net/x.net/y", Repaired("https://example.net//x.net//y"));
}

TEST(RelatedAddress, ALinkThatDoesNotFitIsCutAndSaysSo) {
    std::string link(AddressCapacity, 'a');
    char stored[AddressCapacity * 2];
    std::snprintf(stored, sizeof stored, "%s", link.c_str());
    char page[64];
    EXPECT_EQ(0, CompleteRelatedAddress(stored, "https://example.jp/", page, sizeof page));
    EXPECT_EQ(63u, std::strlen(page));
}

ArticleMarkers RelatedMarkers() {
    ArticleMarkers m;
    m.relatedStart = "<main>";
    m.relatedEnd = "</main>";
    m.spanStart = "【広告】";
    m.spanEnd = "【広告ここまで】";
    return m;
}

const char RelatedPage[] =
    "<html><nav><a href=\"/menu.html\">メニュー</a></nav><main><p>関連の本文\t一行目</p>"
    "<p>【広告】買って【広告ここまで】二行目→</p>"
    "<a href=\"/deeper.html\">さらに:深い記事</a><a href=\"/img.html\"><img src=\"x.png\"></a>"
    "<p>【関連記事】ここから先は要らない</p></main><footer>足</footer></html>";

// The test page through the related-page path; the page text is returned.
std::string Related(bool useMarkers, bool collectLinks, Links& links) {
    char page[4096];
    std::snprintf(page, sizeof page, "%s", RelatedPage);
    ExtractRelatedPage(page,
                       sizeof page,
                       ArticleSource{},
                       RelatedMarkers(),
                       useMarkers,
                       links.titles.get(),
                       links.addresses.get(),
                       &links.count,
                       collectLinks);
    return page;
}

TEST(RelatedPage, AsNewsTheMarkersCutAndTheLinksAreThoseInside) {
    Links links;
    EXPECT_EQ("関連の本文一行目\n二行目\nさらに:深い記事", Related(true, true, links));
    ASSERT_EQ(1, links.count);  // the image-only anchor is dropped
    EXPECT_STREQ("さらに：深い記事", links.titles[0]);
    EXPECT_STREQ("/deeper.html", links.addresses[0]);
}

TEST(RelatedPage, AsFullTextNothingIsCutAndAtTheDeepestLevelNoLinksAreKept) {
    Links links;
    std::string page = Related(false, true, links);
    EXPECT_EQ(2, links.count);
    EXPECT_STREQ("メニュー", links.titles[0]);
    EXPECT_NE(std::string::npos, page.find("メニュー"));  // what the markers would cut is kept
    EXPECT_EQ(std::string::npos, page.find("ここから先"));

    Related(true, false, links);
    EXPECT_EQ(0, links.count);
}

TEST(RelatedPage, AtMostThreeHundredLinks) {
    std::string html = "<main>";
    for (int i = 0; i < 320; ++i)
        html += "<a href=\"/" + std::to_string(i) + ".html\">記事" + std::to_string(i) + "</a>";
    html += "</main>";
    std::vector<char> page(html.begin(), html.end());
    page.resize(html.size() * 2 + 1, '\0');
    Links links;
    ExtractRelatedPage(page.data(),
                       page.size(),
                       ArticleSource{},
                       RelatedMarkers(),
                       true,
                       links.titles.get(),
                       links.addresses.get(),
                       &links.count,
                       true);
    EXPECT_EQ(RelatedPageLinkLimit, links.count);
    EXPECT_STREQ("/299.html", links.addresses[299]);
}

}  // namespace
