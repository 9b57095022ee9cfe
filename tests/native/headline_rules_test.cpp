// Cutting list pages into headlines: the three extractors, the cleaning of titles and
// addresses, the dropped image items, the limits, and real feeds of Japanese news sites.
#include "retrieval/headline_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "retrieval/sources.h"
#include "retrieval/textcut.h"

#include "tests/native/test_files.h"

namespace {

struct Level {
    char titles[HeadlinesPerLevel][TitleCapacity];
    char addresses[HeadlinesPerLevel][AddressCapacity];
};

struct Parameters {
    CategoryParameterSet set = {};
    Parameters(std::initializer_list<std::pair<int, std::string>> values) {
        for (const auto& v : values)
            std::snprintf(set[v.first - 1], ParameterCapacity, "%s", v.second.c_str());
    }
};

// The category of an ordinary portal page: anchors after "<li><a href=\"".
Parameters Portal() {
    return {
        {2, "https://portal.example/"},
        {6, "<li><a href=\""         },
        {7, "\""                     }
    };
}

Parameters Rss() {
    return {
        {2,  "rss"     },
        {6,  "<link>"  },
        {7,  "</link>" },
        {17, "<title>" },
        {18, "</title>"}
    };
}

struct Cut {
    std::vector<std::string> titles, addresses;
    std::vector<int> sunk;
};

Cut CutPage(const std::string& area, const Parameters& p, ListPage page = ListPage::First, int first = 0,
            int limit = FirstPageLimit) {
    auto level = std::make_unique<Level>();
    std::memset(level.get(), 0, sizeof(Level));
    Cut cut;
    int count = CutHeadlines(
        area.c_str(),
        p.set,
        page,
        first,
        limit,
        level->titles,
        level->addresses,
        [](int slot, void* context) {
            static_cast<Cut*>(context)->sunk.push_back(slot);
            return true;
        },
        &cut);
    EXPECT_EQ(first + static_cast<int>(cut.sunk.size()), count);
    for (int i = first; i < count; ++i) {
        cut.titles.push_back(level->titles[i]);
        cut.addresses.push_back(level->addresses[i]);
    }
    return cut;
}

std::string Anchors(int n, const std::string& prefix = "見出し") {
    std::string page;
    for (int i = 1; i <= n; ++i)
        page +=
            "<li><a href=\"/n/" + std::to_string(i) + ".html\">" + prefix + std::to_string(i) + "</a></li>\n";
    return page;
}

class SourcesRestored : public ::testing::Test {
  protected:
    void TearDown() override {
        for (int id = 0; id < SourceCount; ++id) SetSourceAddress(static_cast<SourceId>(id), "");
    }
};

TEST(HeadlineRules, PortalAnchorsAreListedInPageOrderWithCleanTitlesAndAddresses) {
    std::string page =
        "<li><a href=\"./news/1.html\" class=\"x\"><span class=\"title\">Tokyo  Stocks : 上昇 "
        "&quot;速報&quot;"
        "</span><span class=\"new\">NEW</span></a></li>\n"
        "<li><a href=\"/news/2.html\">\t大雨\r\n警報<b>発表</b>&nbsp;12:30</a></li>\n"
        "<li><a href=\"https://other.example/3\">政治 ・ 国会</a></li>\n";
    Cut cut = CutPage(page, Portal());
    ASSERT_EQ(3u, cut.titles.size());
    EXPECT_EQ("TokyoStocks：上昇速報", cut.titles[0]);  // no ASCII space survives, ':' widened
    EXPECT_EQ("news/1.html", cut.addresses[0]);         // "./" and the closing quote cut away
    EXPECT_EQ("大雨警報発表", cut.titles[1]);
    EXPECT_EQ("/news/2.html", cut.addresses[1]);
    EXPECT_EQ("政治・国会", cut.titles[2]);
    EXPECT_EQ("https://other.example/3", cut.addresses[2]);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), cut.sunk);
}

TEST(HeadlineRules, AnImageAnchorLeavesNoGapButItsAlternativeTextIsKept) {
    std::string page = Anchors(1) +
                       "<li><a href=\"/img.html\"><img src=\"/p.jpg\" width=\"80\"></a></li>\n"
                       "<li><a href=\"/alt.html\"><img src=\"/q.jpg\" alt=\"写真で見る台風\"></a></li>\n" +
                       "<li><a href=\"/n/9.html\">見出し9</a></li>\n";
    Cut cut = CutPage(page, Portal());
    EXPECT_EQ((std::vector<std::string>{"見出し1", "写真で見る台風", "見出し9"}), cut.titles);
    EXPECT_EQ((std::vector<std::string>{"/n/1.html", "/alt.html", "/n/9.html"}), cut.addresses);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), cut.sunk);

    EXPECT_TRUE(IsImageOnlyItem("x", "<img src=\"a.jpg\""));
    EXPECT_TRUE(IsImageOnlyItem("<img src=\"a.jpg\">", ""));
    EXPECT_FALSE(IsImageOnlyItem("<b></b>", ""));
    EXPECT_FALSE(IsImageOnlyItem("<img src=\"a.jpg\" alt=\"a\">", "a"));
}

TEST(HeadlineRules, RssTakesTheTitleFirstAndYahooTheAddressFirst) {
    std::string feed =
        "<item><title>北海道 で 地震</title><link>https://feed.example/a</link></item>"
        "<item><title>円相場:一時150円</title><link>https://feed.example/b</link></item>"
        "<item><title>終わりの無い項目</title>";
    Cut rss = CutPage(feed, Rss());
    EXPECT_EQ((std::vector<std::string>{"北海道で地震", "円相場：一時150円"}), rss.titles);
    EXPECT_EQ((std::vector<std::string>{"https://feed.example/a", "https://feed.example/b"}), rss.addresses);

    // Yahoo's top page: address between markers 1 and 2, then the title between 3 and 4.
    Parameters yahoo{
        {2,  SourceAddress(SourceYahooNews)},
        {6,  "<a href=\""                  },
        {7,  "\""                          },
        {17, "<p>"                         },
        {18, "</p>"                        }
    };
    std::string top =
        "<a href=\"https://y.example/1\"><p>一つ目</p></a><a href=\"https://y.example/2\"><p>二つ目</p>";
    Cut y = CutPage(top, yahoo);
    EXPECT_EQ((std::vector<std::string>{"一つ目", "二つ目"}), y.titles);
    EXPECT_EQ((std::vector<std::string>{"https://y.example/1", "https://y.example/2"}), y.addresses);

    // The second page knows no "rss" rule: anchors are cut as links there.
    Parameters secondRss{
        {2, "rss"           },
        {6, "<li><a href=\""},
        {7, "\""            }
    };
    EXPECT_EQ((std::vector<std::string>{"見出し1", "見出し2"}),
              CutPage(Anchors(2), secondRss, ListPage::Second).titles);
}

TEST(HeadlineRules, LimitsFirstSlotsAndTheSinkStop) {
    std::string many = Anchors(600);
    Cut first = CutPage(many, Portal());
    ASSERT_EQ(500u, first.titles.size());
    EXPECT_EQ("見出し500", first.titles.back());

    // A second page continues from the first page's count and stops below 250.
    Cut second = CutPage(Anchors(10, "続き"), Portal(), ListPage::Second, 245, SecondPageLimit);
    EXPECT_EQ((std::vector<std::string>{"続き1", "続き2", "続き3", "続き4", "続き5"}), second.titles);
    EXPECT_EQ(245, second.sunk.front());
    EXPECT_TRUE(CutPage(Anchors(10), Portal(), ListPage::Second, 250, SecondPageLimit).titles.empty());
    EXPECT_TRUE(CutPage(Anchors(10), Portal(), ListPage::Second, 400, SecondPageLimit).titles.empty());

    // A sink that says stop ends the cutting after the item it was given.
    auto level = std::make_unique<Level>();
    int stopAfter = 3;
    int count = CutHeadlines(
        Anchors(10).c_str(),
        Portal().set,
        ListPage::First,
        0,
        FirstPageLimit,
        level->titles,
        level->addresses,
        [](int slot, void* context) { return slot + 1 < *static_cast<int*>(context); },
        &stopAfter);
    EXPECT_EQ(3, count);
}

TEST(HeadlineRules, HugeFieldsAreCutToTheStoreOnACharacterBoundary) {
    std::string title;
    while (title.size() < 100000) title += "\x83\x5e";  // a Shift-JIS character, 2 bytes
    std::string address = "/" + std::string(100000, 'a');
    std::string page = "<li><a href=\"" + address + "\">XY" + title + "</a></li>" + Anchors(1);
    Cut cut = CutPage(page, Portal());
    ASSERT_EQ(2u, cut.titles.size());
    // "XY" and 126 characters: one more would split a character at the 255th byte.
    EXPECT_EQ(TitleCapacity - 2, static_cast<int>(cut.titles[0].size()));
    EXPECT_EQ("\x83\x5e", cut.titles[0].substr(cut.titles[0].size() - 2));
    EXPECT_EQ(AddressCapacity - 1, static_cast<int>(cut.addresses[0].size()));
    EXPECT_EQ("見出し1", cut.titles[1]);

    // A title field with no end marker takes the rest of a page of any size, without harm.
    Cut open = CutPage("<item><title>" + std::string(3000000, 'b'), Rss());
    EXPECT_TRUE(open.titles.empty());
}

TEST_F(SourcesRestored, SourceRulesFollowTheConfiguredAddresses) {
    SetSourceAddress(SourceSankei, "https://localhost/sankei/");
    SetSourceAddress(SourceAllAbout, "https://localhost/allabout/");
    SetSourceAddress(SourceNikkanGendai, "https://localhost/gendai/");
    SetSourceAddress(SourceNatalie, "https://localhost/natalie/");
    EXPECT_TRUE(IsSource("https://localhost/sankei/", SourceSankei));
    EXPECT_FALSE(IsSource(ShippedSourceAddress(SourceSankei), SourceSankei));
    EXPECT_FALSE(IsSource("https://localhost/sankei", SourceSankei));  // exact equality only

    Parameters sankei{
        {2, "https://localhost/sankei/"},
        {6, "<a href=\""               },
        {7, "\">"                      }
    };
    Cut s = CutPage("<a href=\"/a/1.html\"><b>産経</b></a>", sankei);
    ASSERT_EQ(1u, s.addresses.size());
    EXPECT_EQ("/a/1.html", s.addresses[0]);

    Parameters allabout{
        {2, "https://localhost/allabout/"},
        {6, "<a href=\""                 },
        {7, "\""                         }
    };
    Cut a =
        CutPage("<a href=\"/x\"><p class=\"parts-common-listItemTitle\">節約術</p><p>広告</p></a>", allabout);
    EXPECT_EQ("節約術", a.titles.at(0));

    Parameters gendai{
        {2, "https://localhost/gendai/"},
        {6, "<a href=\""               },
        {7, "\""                       }
    };
    Cut g = CutPage("<a href=\"/x\"><span class=\"date\">1日</span><span class=\"entry-ttl\">芸能</span></a>",
                    gendai);
    EXPECT_EQ("芸能", g.titles.at(0));

    Parameters natalie{
        {2, "https://localhost/natalie/"},
        {6, "<a href=\""                },
        {7, "\""                        }
    };
    Cut n = CutPage("<a href=\"/x\"><dd>日付</dd><dt class=\"NA_title\">新曲</dt></a>", natalie);
    EXPECT_EQ("新曲", n.titles.at(0));

    // Under their shipped addresses the same pages get no source rule.
    EXPECT_EQ("日付新曲",
              CutPage("<a href=\"/x\"><dd>日付</dd><dt class=\"NA_title\">新曲</dt></a>",
                      Parameters{
                          {2, ShippedSourceAddress(SourceNatalie)},
                          {6, "<a href=\""                       },
                          {7, "\""                               }
    })
                  .titles.at(0));
    SetSourceAddress(SourceNatalie, "");
    EXPECT_STREQ(ShippedSourceAddress(SourceNatalie), SourceAddress(SourceNatalie));
}

TEST(HeadlineRules, SecondPagesKeepTabsAndCarriageReturnsThatFirstPagesDrop) {
    std::string item = "<li><a href=\"/a\">朝\t刊\r\n一面</a></li>";
    EXPECT_EQ("朝刊一面", CutPage(item, Portal()).titles.at(0));
    EXPECT_EQ("朝\t刊\r一面", CutPage(item, Portal(), ListPage::Second).titles.at(0));
}

TEST(HeadlineRules, RadioListsStopAtOneHundredAndAreNotCleaned) {
    Parameters radio{
        {2, "radio"  },
        {8, "<name>" },
        {9, "</name>"},
        {6, "<url>"  },
        {7, ".mp3"   }
    };
    std::string page;
    for (int i = 0; i < 120; ++i)
        page +=
            "<name>局 " + std::to_string(i) + "</name><url>https://r.example/" + std::to_string(i) + ".mp3";
    auto level = std::make_unique<Level>();
    int sunk = 0;
    int count = CutRadioList(
        page.c_str(),
        radio.set,
        RadioLimit,
        level->titles,
        level->addresses,
        [](int, void* context) {
            ++*static_cast<int*>(context);
            return true;
        },
        &sunk);
    EXPECT_EQ(100, count);
    EXPECT_EQ(100, sunk);
    EXPECT_STREQ("局 0", level->titles[0]);  // the space stays
    EXPECT_STREQ("局 99", level->titles[99]);
    EXPECT_NE(nullptr, std::strstr(level->addresses[99], "99.mp3"));
}

// Saved feeds of real sites, cut with the markers the shipped RSS categories use.
std::string RealFeed(const char* name) {
    std::string text;
    if (!ReadPage(Root() + "/../shared/realworld/" + name, &text)) return std::string();
    return text;
}

TEST(HeadlineRulesRealFeeds, EachFeedYieldsExactlyItsItems) {
    struct Feed {
        const char* file;
        const char* areaEnd;
        size_t items;
        const char* firstTitle;
    } feeds[] = {
        {"nhk-cat0-2021-03-22.xml",
         "</channel>",                                          7,
         "二酸化炭素を高速処理する装置東芝が開発年間1トン変換可能"                   },
        {"yahoo-topics-top-picks-2023-02-10.xml", "</channel>", 8,  "雪止んでも注意路面凍結の恐れ"},
        {"asahi-newsheadlines-2021-03-21.rdf",
         "</rdf:RDF>",                                          43,
         "「五輪パラ中止・延期すべき」調査5カ国いずれも7割超"                           },
        {"news24-index-2021-b.rdf",               "</rdf:RDF>", 51, nullptr                                     },
    };
    int found = 0;
    for (const Feed& feed : feeds) {
        std::string page = RealFeed(feed.file);
        if (page.empty()) continue;
        ++found;
        std::vector<char> area(page.begin(), page.end());
        area.push_back('\0');
        CutBetween(area.data(), "<item", feed.areaEnd);
        Cut cut = CutPage(area.data(), Rss());
        ASSERT_EQ(feed.items, cut.titles.size()) << feed.file;
        if (feed.firstTitle) {
            EXPECT_EQ(feed.firstTitle, cut.titles[0]) << feed.file;
        }
        for (size_t i = 0; i < cut.titles.size(); ++i) {
            EXPECT_FALSE(cut.titles[i].empty()) << feed.file << " item " << i;
            EXPECT_EQ(std::string::npos, cut.titles[i].find_first_of("< \t\n")) << cut.titles[i];
            EXPECT_EQ(0u, cut.addresses[i].find("http")) << cut.addresses[i];
            EXPECT_EQ(std::string::npos, cut.addresses[i].find_first_of("<>\" ")) << cut.addresses[i];
        }
    }
    if (found == 0) GTEST_SKIP() << "the saved real feeds are not here";
}

}  // namespace
