#include "retrieval/textcut.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "retrieval/sjis.h"

namespace {

// A heap buffer exactly as large as the text (plus room), so that the sanitizers
// see any write past it.
struct Buffer {
    std::vector<char> bytes;
    explicit Buffer(const std::string& text, std::size_t room = 0) : bytes(text.size() + 1 + room, '\0') {
        std::memcpy(bytes.data(), text.c_str(), text.size() + 1);
    }
    char* get() { return bytes.data(); }
    std::string str() const { return bytes.data(); }
};

const char* const kNone = MarkerNone;

TEST(TextCut, CutOperations) {
    struct Case {
        int (*op)(char*, const char*, const char*);
        const char* text;
        const char* start;
        const char* end;
        const char* expected;
        int result;
    };
    const Case cases[] = {
        {CutBetween,     "abc",                    "[",                      "]",                    "abc",        0},
        {CutBetween,     "ab]cd]",                 "[",                      "]",                    "ab",         1},
        {CutBetween,     "ab[cd[",                 "[",                      "]",                    "cd[",        1},
        {CutBetween,     "x[a]b]",                 "[",                      "]",                    "a",          1},
        {CutBetween,     "t<span class=\"new\">u", "<span class=\"title\">", "<span class=\"new\">", "t",          1},
        {CutBetween,     "<a href=\"x.html\">T",   "href=\"",                kNone,                  "x.html\">T", 1},
        {CutBetween,     "x.html\"",               kNone,                    "\"",                   "x.html",     1},
        {CutBetween,     "abc",                    kNone,                    kNone,                  "abc",        0},
        {CutBetween,     "abc",                    "",                       kNone,                  "abc",        1}, // empty start found at 0, none never
        {CutBetween,     "abc",                    "b",                      "",                     "",           1}, // empty end found where the start is
        {CutBetween,     "a<ab>c",                 "<ab>",                   "<a",                   "",           1}, // end inside the start
        {CutBetweenLast, "A[x]B[y]C",              "[",                      "]",                    "x]B[y",      1},
        {CutBetweenLast, "a]b[c",                  "[",                      "]",                    "",           1}, // last end before the start
        {CutBetweenLast, "a]b]c",                  kNone,                    "]",                    "a",          1},
        {CutBetweenLast, "a[b",                    "[",                      kNone,                  "b",          1},
        {CutBetweenLast, "a[b",                    "[",                      "",                     "b",          1}, // empty end found at the very end
        {RemoveSpan,     "abc<!--x-->def",         "<!--",                   "-->",                  "abcdef",     1},
        {RemoveSpan,     "abc<!--xdef",            "<!--",                   "-->",                  "abc",        1},
        {RemoveSpan,     "x-->def",                "<!--",                   "-->",                  "ef",         1},
        {RemoveSpan,     "x-->",                   "<!--",                   "-->",                  "",           1}, // nothing after the end marker
        {RemoveSpan,     "x-->\x82\xa0z",          "<!--",                   "-->",                  "z",          1}, // a double-byte character goes whole
        {RemoveSpan,     "abc",                    "<!--",                   "-->",                  "abc",        0},
        {RemoveSpanFrom, "abcXdefYgh",             "X",                      "Y",                    "abcgh",      1},
        {RemoveSpanFrom, "abXXc",                  "X",                      "X",                    "abc",        1}, // end searched after the start's first byte
        {RemoveSpanFrom, "abcXdef",                "X",                      "Y",                    "abc",        1},
        {RemoveSpanFrom, "abc-->d",                "<!--",                   "-->",                  "abc-->d",    0},
    };
    for (const Case& c : cases) {
        Buffer b(c.text);
        EXPECT_EQ(c.op(b.get(), c.start, c.end), c.result) << c.text;
        EXPECT_EQ(b.str(), c.expected) << c.text;
    }
}

TEST(TextCut, RepeatingOperations) {
    Buffer tags("a<b>c</b>d<br>e<f");
    StripTags(tags.get());
    EXPECT_EQ(tags.str(), "acde<f");
    Buffer open("a<b");
    StripTags(open.get());
    EXPECT_EQ(open.str(), "a<b");

    Buffer crlf("a\r\nb\r\n\r\r\nc");
    EXPECT_EQ(FoldCrLf(crlf.get()), 3);
    EXPECT_EQ(crlf.str(), "a\nb\n\r\nc");

    Buffer lines("a\n\n\n\nb\n\nc\n");
    EXPECT_EQ(CollapseBlankLines(lines.get()), 4);
    EXPECT_EQ(lines.str(), "a\nb\nc\n");

    Buffer spaces("a  b   c    d e");
    EXPECT_EQ(DeleteSpacePairs(spaces.get()), 1);
    EXPECT_EQ(spaces.str(), "ab cd e");

    // ':' by the full-width colon (two bytes): the text grows by one per colon.
    Buffer colon("a:b:c", 2);
    EXPECT_EQ(ReplaceAll(colon.get(), colon.bytes.size(), ":", "\x81\x46"), 1);
    EXPECT_EQ(colon.str(),
              "a\x81\x46"
              "b\x81\x46"
              "c");
    // Replacements that produce a new match are replaced again.
    Buffer lf("a\n\n\n\n\nb");
    ReplaceAll(lf.get(), lf.bytes.size(), "\n\n\n", "\n\n");
    EXPECT_EQ(lf.str(), "a\n\nb");
    Buffer slashes("x.net////y");
    ReplaceAll(slashes.get(), slashes.bytes.size(), ".net//", ".net/");
    EXPECT_EQ(slashes.str(), "x.net/y");
    Buffer gone("&quot;a&quot;&quot;");
    ReplaceAll(gone.get(), gone.bytes.size(), "&quot;", "");
    EXPECT_EQ(gone.str(), "a");
}

TEST(TextCut, ReplaceAllStopsAtCapacity) {
    Buffer b("::::", 2);  // room for two more bytes
    EXPECT_EQ(ReplaceAll(b.get(), b.bytes.size(), ":", "\x81\x46"), 0);
    EXPECT_EQ(b.str(), "\x81\x46\x81\x46::");
    // A replacement containing the searched text would grow without end.
    Buffer self("ab", 5);
    EXPECT_EQ(ReplaceAll(self.get(), self.bytes.size(), "a", "aa"), 0);
    EXPECT_EQ(self.str(), std::string(6, 'a') + "b");
    // Cases that would never end.
    Buffer same("aaa");
    EXPECT_EQ(ReplaceAll(same.get(), same.bytes.size(), "a", "a"), 1);
    EXPECT_EQ(ReplaceAll(same.get(), same.bytes.size(), "", "x"), 1);
    EXPECT_EQ(same.str(), "aaa");
    // A capacity smaller than the text only forbids growth.
    Buffer small("a:b");
    EXPECT_EQ(ReplaceAll(small.get(), 1, ":", "\x81\x46"), 0);
    EXPECT_EQ(ReplaceAll(small.get(), 1, "a", ""), 1);
    EXPECT_EQ(small.str(), ":b");
}

TEST(TextCut, FindMarkerStartsAndEnds) {
    int pos = 2;
    EXPECT_EQ(FindMarker("abcabc", "", &pos), 1);
    EXPECT_EQ(pos, 2);
    pos = 0;
    EXPECT_EQ(FindMarker("abc", kNone, &pos), 0);
    EXPECT_EQ(pos, -1);
    pos = 1;
    EXPECT_EQ(FindMarker("abcabc", "abc", &pos), 1);
    EXPECT_EQ(pos, 3);
    pos = -5;  // a negative start searches from the beginning
    EXPECT_EQ(FindMarker("abc", "b", &pos), 1);
    EXPECT_EQ(pos, 1);
    Buffer shortText("ab");
    pos = 3;  // the empty marker is found at the end, not past it
    EXPECT_EQ(FindMarker(shortText.get(), "", &pos), 0);
    pos = 2;
    EXPECT_EQ(FindMarker(shortText.get(), "", &pos), 1);
    EXPECT_EQ(pos, 2);
    pos = 1000;  // far past the end of a small buffer
    EXPECT_EQ(FindMarker(shortText.get(), "b", &pos), 0);

    pos = 6;
    EXPECT_EQ(FindMarkerBackward("abcabc", "bc", &pos), 1);
    EXPECT_EQ(pos, 4);
    pos = 3;
    EXPECT_EQ(FindMarkerBackward("abcabc", "bc", &pos), 1);
    EXPECT_EQ(pos, 1);
    pos = 1000;  // a window cut short by the end of the text is no match
    EXPECT_EQ(FindMarkerBackward(shortText.get(), "bx", &pos), 0);
    pos = 1000;
    EXPECT_EQ(FindMarkerBackward(shortText.get(), "", &pos), 1);
    EXPECT_EQ(pos, 2);
    pos = -1;
    EXPECT_EQ(FindMarkerBackward("abc", "a", &pos), 0);
}

TEST(TextCut, ExtractLinkAndAnchor) {
    const std::string page = "<li><a href=\"x.html\">Title</a></li><a href=\"y.html\">Y</a>";
    char address[64], text[64];
    int pos = 0;
    ASSERT_EQ(ExtractLink(page.c_str(), address, sizeof address, text, sizeof text, "href=\"", "\"", &pos),
              1);
    EXPECT_STREQ(address, "x.html\"");
    EXPECT_STREQ(text, "Title");
    EXPECT_EQ(pos, static_cast<int>(page.find("\">")) + 1 + 4);
    ASSERT_EQ(ExtractLink(page.c_str(), address, sizeof address, text, sizeof text, "href=\"", "", &pos), 1);
    EXPECT_STREQ(address, "y.html");
    EXPECT_STREQ(text, "Y");
    EXPECT_EQ(ExtractLink(page.c_str(), address, sizeof address, text, sizeof text, "href=\"", "", &pos), 0);
    EXPECT_EQ(pos, -1);

    const std::string anchor = "<a href=\"x.html\" class=\"c\">T<b>U</b></a>rest";
    pos = 0;
    ASSERT_EQ(ExtractAnchor(anchor.c_str(), address, sizeof address, text, sizeof text, &pos), 1);
    EXPECT_STREQ(address, "x.html");
    EXPECT_STREQ(text, "T<b>U</b>");
    EXPECT_EQ(anchor.substr(pos), "rest");
    EXPECT_EQ(ExtractAnchor(anchor.c_str(), address, sizeof address, text, sizeof text, &pos), 0);
    EXPECT_EQ(pos, -1);
}

TEST(TextCut, ExtractFieldPairAndMedia) {
    const char* page = "<i>t1</i><u>a1</u><i>t2</i><u>";
    char one[16], two[16];
    int pos = 0;
    ASSERT_EQ(ExtractFieldPair(page, one, sizeof one, two, sizeof two, "<i>", "</i>", "<u>", "</u>", &pos),
              1);
    EXPECT_STREQ(one, "t1");
    EXPECT_STREQ(two, "a1");
    EXPECT_EQ(pos, 14);
    // The second record lacks its fourth marker: 0, position at its first marker.
    EXPECT_EQ(ExtractFieldPair(page, one, sizeof one, two, sizeof two, "<i>", "</i>", "<u>", "</u>", &pos),
              0);
    EXPECT_EQ(pos, 18);
    pos = 19;
    EXPECT_EQ(ExtractFieldPair(page, one, sizeof one, two, sizeof two, "<i>", "</i>", "<u>", "</u>", &pos),
              0);
    EXPECT_EQ(pos, -1);

    // A closing marker is not found inside its opening marker.
    pos = 0;
    ASSERT_EQ(ExtractFieldPair("<a href=\"x.html\">T</a>",
                               one,
                               sizeof one,
                               two,
                               sizeof two,
                               "<a href=\"",
                               "\"",
                               ">",
                               "</a>",
                               &pos),
              1);
    EXPECT_STREQ(one, "x.html");
    EXPECT_STREQ(two, "T");

    const char* radio = "<t>News</t><m>http://h/a.mp3</m>";
    pos = 0;
    ASSERT_EQ(ExtractMediaFields(radio, one, sizeof one, two, sizeof two, "<t>", "</t>", "<m>", ".mp3", &pos),
              1);
    EXPECT_STREQ(one, "News");
    EXPECT_STREQ(two, "http://h/a.mp3");
    pos = 0;
    ASSERT_EQ(ExtractMediaFields(radio, one, sizeof one, two, sizeof two, "<m>", "/a", "<t>", "</t>", &pos),
              0);  // marker 3 lies before marker 1
    const char* other = "<m>http://h/a</m><t>News</t>";
    pos = 0;
    ASSERT_EQ(ExtractMediaFields(other, one, sizeof one, two, sizeof two, "<m>", "/a", "<t>", "</t>", &pos),
              1);
    EXPECT_STREQ(one, "News");
    EXPECT_STREQ(two, "http://h/a");
}

TEST(TextCut, ExtractorsCutFieldsToTheirCapacity) {
    // The title is "ab" followed by three double-byte characters.
    const std::string page = "<a href=\"0123456789\">ab\x82\xa0\x82\xa2\x82\xa4</a>";
    for (std::size_t cap = 0; cap <= 12; ++cap) {
        std::vector<char> address(cap + 1, '#'), text(cap + 1, '#');  // one guard byte each
        int pos = 0;
        ASSERT_EQ(ExtractAnchor(page.c_str(), address.data(), cap, text.data(), cap, &pos), 1);
        EXPECT_EQ(address[cap], '#');
        EXPECT_EQ(text[cap], '#');
        if (cap == 0) continue;
        const std::string a = address.data(), t = text.data();
        EXPECT_EQ(a, std::string("0123456789").substr(0, cap - 1));
        // Never half a character: "ab" and then whole pairs only.
        const std::size_t expect = cap - 1 <= 2 ? cap - 1 : 2 + (cap - 3) / 2 * 2;
        EXPECT_EQ(t.size(), expect < 8 ? expect : 8) << cap;
        EXPECT_EQ(t, std::string("ab\x82\xa0\x82\xa2\x82\xa4").substr(0, t.size()));
    }
}

TEST(TextCut, ResolveParentPath) {
    const struct {
        const char* in;
        const char* out;
        int result;
    } cases[] = {
        {"a.html",         "a.html",    0},
        {"../a.html",      "/a.html",   1},
        {"../../a/b.html", "/a/b.html", 1},
        {"x/../a",         "/./a",      1}, // deletes the first bytes, not the match
    };
    for (const auto& c : cases) {
        Buffer b(c.in);
        EXPECT_EQ(ResolveParentPath(b.get()), c.result) << c.in;
        EXPECT_EQ(b.str(), c.out) << c.in;
    }
    std::string deep;
    for (int i = 0; i < 100; ++i) deep += "../";  // far longer than a short working buffer
    Buffer b(deep + "news/a.html");
    EXPECT_EQ(ResolveParentPath(b.get()), 1);
    EXPECT_EQ(b.str(), "/news/a.html");
}

TEST(TextCut, TextsLongerThanAnyWorkingBuffer) {
    const std::string unit = "<p>ab\r\n\r\n</p>  ";
    const std::size_t units = 1500000 / unit.size() + 1;
    std::string page;
    for (std::size_t i = 0; i < units; ++i) page += unit;
    Buffer cut("[" + page + "]");
    ASSERT_EQ(CutBetween(cut.get(), "[", "]"), 1);
    EXPECT_TRUE(cut.str() == page);  // (no diff of megabytes on failure)
    Buffer body(page);
    StripTags(body.get());
    EXPECT_EQ(FoldCrLf(body.get()), static_cast<int>(units * 2));
    EXPECT_EQ(CollapseBlankLines(body.get()), static_cast<int>(units));
    DeleteSpacePairs(body.get());
    std::string expected;
    for (std::size_t i = 0; i < units; ++i) expected += "ab\n";
    EXPECT_TRUE(body.str() == expected);
}

}  // namespace
