#include "retrieval/maintext.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "retrieval/charrefs.h"
#include "tests/native/real_articles.h"

namespace {

// The main text of a Shift-JIS page, or "" when none was found.
std::string MainText(const std::string& page, int* found = nullptr) {
    std::vector<char> buffer(page.begin(), page.end());
    buffer.push_back('\0');
    const int result = ExtractMainText(buffer.data());
    if (found) *found = result;
    EXPECT_LE(std::strlen(buffer.data()), page.size());
    return buffer.data();
}

std::string WithoutSpace(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t') continue;
        if (utf8.compare(i, 3, "\xE3\x80\x80") == 0) {  // the full-width space
            i += 2;
            continue;
        }
        out += c;
    }
    return out;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = WithoutSpace(text.substr(start, end - start));
        if (!line.empty()) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The first characters of a UTF-8 text, or its last ones, whole characters only.
std::string Head(const std::string& s, int characters) {
    std::size_t i = 0;
    for (int n = 0; n < characters && i < s.size(); ++n) do
            ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80);
    return s.substr(0, i);
}
std::string Tail(const std::string& s, int characters) {
    std::size_t i = s.size();
    for (int n = 0; n < characters && i > 0; ++n) do
            --i;
        while (i > 0 && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80);
    return s.substr(i);
}

std::vector<std::string> RealPageNames() {
    std::vector<std::string> names;
    if (DIR* dir = opendir((RealArticlesFolder() + "/pages").c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string file = entry->d_name;
            if (file.size() > 5 && file.compare(file.size() - 5, 5, ".html") == 0)
                names.push_back(file.substr(0, file.size() - 5));
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Every saved article page gives its article: the first sentence of its gold text and its
// last one (the last line ending in "。"), and no markup or undecoded reference.
TEST(MainTextRealPages, EveryPageGivesItsFirstAndLastSentenceWithoutMarkup) {
    const std::vector<std::string> names = RealPageNames();
    if (names.empty()) GTEST_SKIP() << "no saved article pages";
    EXPECT_EQ(names.size(), 23u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        std::string html, gold;
        ASSERT_TRUE(ReadFile(RealArticlesFolder() + "/pages/" + name + ".html", &html));
        ASSERT_TRUE(ReadFile(RealArticlesFolder() + "/gold/" + name + ".txt", &gold));
        const std::string received = ReceivedPage(html);
        Page page(received, ArticlePageCapacity);
        LinkLevel links;
        ASSERT_EQ(ExtractReceivedArticle(page.get(), page.capacity, name, &links), 1);
        EXPECT_TRUE(page.GuardIntact());
        const std::string sjis = page.str();
        for (const char* markup : {"<", ">", "&#", "&lt;", "&gt;", "&amp;", "&quot;", "&nbsp;"})
            EXPECT_EQ(sjis.find(markup), std::string::npos) << markup;
        const std::string text = WithoutSpace(SjisToUtf8(sjis));

        std::vector<std::string> body = Lines(gold);
        body.erase(body.begin());  // the headline, which the headline list already says
        ASSERT_FALSE(body.empty());
        std::string last;
        for (const std::string& line : body)
            if (line.size() >= 3 && line.compare(line.size() - 3, 3, u8"。") == 0) last = line;
        EXPECT_NE(text.find(Head(body.front(), 12)), std::string::npos) << Head(body.front(), 12);
        if (!last.empty()) {
            EXPECT_NE(text.find(Tail(last, 12)), std::string::npos) << Tail(last, 12);
        }
    }
}

// The shipped Yahoo! News markers cut the real pages themselves; the fallback is not needed.
TEST(MainTextRealPages, YahooPagesAreCutByTheShippedMarkers) {
    for (const char* name : {"yahoo-1", "yahoo-2", "yahoo-3"}) {
        SCOPED_TRACE(name);
        std::string html;
        if (!ReadFile(RealArticlesFolder() + "/pages/" + name + ".html", &html))
            GTEST_SKIP() << "no saved pages";
        Page page(ReceivedPage(html), ArticlePageCapacity);
        const std::string start = ShippedParameter("rss.txt", 2, 8), end = ShippedParameter("rss.txt", 2, 9);
        ArticleMarkers markers;
        markers.bodyStart = start.c_str();
        markers.bodyEnd = end.c_str();
        ArticleSource source;
        source.rss = true;
        LinkLevel links;
        ASSERT_EQ(ExtractArticle(page.get(),
                                 page.capacity,
                                 source,
                                 markers,
                                 links.titles.get(),
                                 links.addresses.get(),
                                 &links.count,
                                 true),
                  1);
        const std::string text = SjisToUtf8(page.str());
        EXPECT_EQ(text.find(u8"次ページは"), std::string::npos);
        EXPECT_EQ(text.find(u8"関連記事"), std::string::npos);
        EXPECT_EQ(text.find('<'), std::string::npos);
    }
}

// Pages without an article give nothing, so that the browser question follows: the real
// forecast page, a notice of one line, a page of links only.
TEST(MainText, PagesWithoutAnArticleGiveNothing) {
    std::string forecast;
    if (ReadFile(Root() + "/../shared/realworld/tenki-1hour-hiroshima-nishi-2019-RECONSTRUCTED.html",
                 &forecast)) {
        int found = -1;
        EXPECT_EQ(MainText(ReceivedPage(forecast), &found), "");
        EXPECT_EQ(found, 0);
    }
    int found = -1;
    EXPECT_EQ(
        MainText(ReceivedPage(
                     u8"<html><body><div><p>お探しのページは見つかりませんでした。</p></div></body></html>"),
                 &found),
        "");
    EXPECT_EQ(found, 0);

    std::string links = "<ul>";
    for (int i = 0; i < 50; ++i)
        links += "<li><a href=\"/n/" + std::to_string(i) + u8"\">政府が経済対策を決定した。見出し" +
                 std::to_string(i) + "</a></li>";
    links += "</ul>";
    EXPECT_EQ(MainText(ReceivedPage(links), &found), "");
    EXPECT_EQ(found, 0);
}

std::string Article(const std::string& body) {
    return ReceivedPage(
        u8"<html><head><title>題</title><style>p{color:red}</style></head><body>"
        u8"<nav><ul><li><a href=\"/\">トップ</a></li><li><a href=\"/a\">国内</a></li></ul></nav>"
        u8"<div class=\"main\"><h1>見出しです</h1><div class=\"body\">" +
        body +
        u8"</div><div class=\"related\"><h2>関連記事</h2><ul><li><a "
        u8"href=\"/x\">別の記事です。</a></li></ul></div>"
        u8"</div><footer><p>Copyright 新聞社。無断転載を禁じます。</p></footer></body></html>");
}

const char* const Sentences =
    u8"<p>政府は八日、新しい経済対策を閣議決定した。規模は二十兆円を超える見込みだ。</p>"
    u8"<p>首相は記者会見で「暮らしを守る」と述べた。野党は財源の説明が足りないと批判している。</p>"
    u8"<p>経済対策は来週にも国会へ提出される見通しで、審議は年末まで続く。</p>";

// The article's paragraphs and subheadings, one a line; the headline, menus, related
// articles, footers, scripts, styles and furigana readings are not read.
TEST(MainText, KeepsTheArticleAndLeavesTheRestOfThePage) {
    const std::string text = SjisToUtf8(
        MainText(Article(std::string(Sentences) +
                         u8"<h2>今後の予定</h2><script>var a = '<p>スクリプトです。</p>';</script>"
                         u8"<p><ruby>漢字<rp>（</rp><rt>かんじ</rt><rp>）</rp></ruby>の読みは要らない。"
                         u8"国会は来週から審議に入る。</p>")));
    EXPECT_EQ(text,
              u8"政府は八日、新しい経済対策を閣議決定した。規模は二十兆円を超える見込みだ。\n"
              u8"首相は記者会見で「暮らしを守る」と述べた。野党は財源の説明が足りないと批判している。\n"
              u8"経済対策は来週にも国会へ提出される見通しで、審議は年末まで続く。\n"
              u8"今後の予定\n"
              u8"漢字の読みは要らない。国会は来週から審議に入る。");
}

// Line breaks of the source after a sentence end stay lines; inside a sentence they go,
// and <br> is a line.
TEST(MainText, SourceLineBreaksAndBreakTags) {
    const std::string text = SjisToUtf8(MainText(Article(
        u8"<p>政府は八日、新しい経済\n対策を閣議決定した。\n\n規模は二十兆円を超える見込みだ。<br>"
        u8"首相は記者会見で「暮らしを守る」と述べた。<br><br>野党は財源の説明が足りないと批判している。</p>"
        u8"<p>経済対策は来週にも国会へ提出される見通しで、審議は年末まで続く。</p>")));
    EXPECT_EQ(text,
              u8"政府は八日、新しい経済対策を閣議決定した。\n規模は二十兆円を超える見込みだ。\n"
              u8"首相は記者会見で「暮らしを守る」と述べた。\n野党は財源の説明が足りないと批判している。\n"
              u8"経済対策は来週にも国会へ提出される見通しで、審議は年末まで続く。");
}

// References are read as their characters; markup characters come out full-width so that
// the cleaning of the article does not take them for tags; what Shift-JIS lacks (or what
// was not decoded before the conversion) is the stand-in.
TEST(MainText, CharacterReferencesAreReadAsCharacters) {
    const std::string page = ReceivedPage(
        std::string(
            u8"<html><body><div><p>&#x653F;&#24220;&#12399;&#x516B;日、A&amp;B社の&lt;新型&gt;端末&hellip;を"
            u8"&quot;発表&quot;した。価格は1000&nbsp;円で、&#x1F600;付きだ。&#0;&bogus;</p>") +
        Sentences + "</div></body></html>");
    std::string text = SjisToUtf8(MainText(page));
    EXPECT_EQ(text.substr(0, text.find('\n')),
              u8"政府は八日、A&B社の＜新型＞端末…を\"発表\"した。価格は1000 円で、・付きだ。 &bogus;");

    // A Shift-JIS page whose references were not decoded before: the stand-in, never the
    // reference spelled out.
    const std::string undecoded =
        std::string(u8"<div><p>政府&#x5e74;は八日、経済対策を決めた。</p>") + Sentences + "</div>";
    text = SjisToUtf8(MainText(Convert(undecoded, "UTF-8", "CP932", SjisStandIn)));
    EXPECT_EQ(text.find("&#"), std::string::npos);
    EXPECT_NE(text.find(u8"政府・"), std::string::npos);
}

TEST(CharacterReferences, DecodesWhatIsNotMarkupInPlace) {
    char text[] =
        "&#x5e74;&#24180;&hellip;&copy;&lt;&#60;&amp;&nbsp;&#160;&#xD800;&#1114112;&#x41;&foo;&#;&#x";
    EXPECT_EQ(DecodeReferencesUtf8(text), 4u);
    // Kept out of the assertion: its message would spell the literal in the program's code page,
    // which has no "©".
    const char decoded[] = u8"年年…©&lt;&#60;&amp;&nbsp;&#160;&#xD800;&#1114112;&#x41;&foo;&#;&#x";
    EXPECT_STREQ(text, decoded);

    char bare[] = "&#24180&#x5e74 x";  // no ';': still a reference
    DecodeReferencesUtf8(bare);
    EXPECT_STREQ(bare, u8"年年 x");
}

// Hostile structure: tags, comments and quotes that never end, deep nesting and a huge
// page finish quickly, stay within the page and still find an article after them.
TEST(MainText, HostilePagesStayLinearAndInBounds) {
    for (const char* broken : {"<!--", "<script>", "<div class=\"", "<", "&#x", "<p", "</"}) {
        SCOPED_TRACE(broken);
        std::string page = Article(Sentences) + broken;
        int found = 0;
        MainText(page, &found);
        EXPECT_EQ(found, 1);
        MainText(broken + Article(Sentences), &found);
    }

    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<div>";
    deep += Article(Sentences);
    std::string wide;
    while (wide.size() < 1000000) wide += "<span class=\"navi\"><b>x</b></span></div></p></li>";
    const auto start = std::chrono::steady_clock::now();
    int found = 0;
    MainText(deep, &found);
    EXPECT_EQ(found, 1);
    MainText(wide + Article(Sentences), &found);
    EXPECT_EQ(found, 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

}  // namespace
