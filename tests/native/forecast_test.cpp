#include "retrieval/forecast.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "retrieval/sjis.h"
#include "tests/native/test_files.h"

namespace {

std::string FixturePage() {
    std::string text;
    EXPECT_TRUE(ReadPage(Root() + "/testing/site/fixtures/articles/forecast.html", &text));
    return text;
}

TEST(Forecast, FixturePageBecomesTheSpokenForecast) {
    Page page(FixturePage(), 1024000);
    ASSERT_EQ(FormatForecast(page.get(), page.capacity), 1);
    const std::string text = page.str();

    // Today's heading, its precipitation by period (the past period without its
    // attribute) and the wind; the wave row after the wind is skipped.
    EXPECT_EQ(text.substr(0, text.find("明日")),
              "\n今日11月3日(日)\n晴れ最高21&#8451;\n降水確率\n0時から6時　---\n6時から12時　10%\n"
              "12時から18時　20%\n18時から24時　30%\n風　北の風\n\n");
    EXPECT_NE(text.find("明日11月4日(月)\n降水確率\n0時から6時　0%\n6時から12時　10%\n"
                        "12時から18時　40%\n18時から24時　50%\n風　南の風\n\n11月5日(火)晴れ\n"),
              std::string::npos);
    EXPECT_EQ(text.find("0.5m"), std::string::npos);
    EXPECT_EQ(text.find("広告"), std::string::npos);
    EXPECT_EQ(text.find("解説の本文"), std::string::npos);

    // The first and the last day of the week.
    EXPECT_NE(text.find("11月5日(火)晴れ\n気温\n最高気温　20℃\n最低気温　12℃\n降水確率　10%\n"),
              std::string::npos);
    const std::string lastDay = "11月13日(水)雨\n気温\n最高気温　12℃\n最低気温　4℃\n降水確率　90%\n";
    ASSERT_GT(text.size(), lastDay.size());
    EXPECT_EQ(text.substr(text.size() - lastDay.size()), lastDay);

    EXPECT_EQ(text.find(' '), std::string::npos);
    EXPECT_EQ(text.find("\n\n\n"), std::string::npos);
    EXPECT_EQ(text.find('<'), std::string::npos);
    EXPECT_EQ(text.find("class="), std::string::npos);
}

TEST(Forecast, PagesWithoutTheTablesReturnZeroCutOnly) {
    // Header cells present but the weekly table short of data cells.
    std::string page = FixturePage();
    std::string shortWeek = page.substr(0, page.find("<tr><th>降水確率</th><td>10%")) + "</table></section>";
    Page cut(shortWeek, 1024000);
    EXPECT_EQ(FormatForecast(cut.get(), cut.capacity), 0);
    EXPECT_EQ(cut.str().find("<section class=\"today-weather\">"), std::string::npos);  // steps 1 and 2 only
    EXPECT_NE(cut.str().find("<td class=\"cityday\">"), std::string::npos);

    // Enough cells but no "<table>" to take today's heading from.
    std::string noTable = page;
    for (std::size_t at; (at = noTable.find("<table>")) != std::string::npos;)
        noTable.replace(at, 7, "<table class=\"x\">");
    Page plain(noTable, 1024000);
    EXPECT_EQ(FormatForecast(plain.get(), plain.capacity), 0);

    Page empty("", 16);
    EXPECT_EQ(FormatForecast(empty.get(), empty.capacity), 0);
    EXPECT_TRUE(empty.GuardIntact());
}

TEST(Forecast, OverlongCellsAndHeadingsAreCutNotOverflowed) {
    std::string page = FixturePage();
    const std::string longText(5000, 'x');
    // A giant temperature cell and a giant heading between the two daily tables.
    std::size_t cell = page.find("<p class=\"high-temp\">20");
    page.insert(cell, longText);
    std::size_t heading = page.find("<h3>明日");
    page.insert(heading, longText);
    Page out(page, page.size() + 1);
    ASSERT_EQ(FormatForecast(out.get(), out.capacity), 1);
    EXPECT_LT(out.str().size(), out.capacity);
    EXPECT_TRUE(out.GuardIntact());
    EXPECT_LT(out.str().find("xxxxxxxxxx"), std::string::npos);
    EXPECT_EQ(out.str().find(std::string(1100, 'x')), std::string::npos);
}

// Whether every lead byte of the text is followed by a trail byte: no half character.
bool WholeCharacters(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!SjisIsLead(static_cast<unsigned char>(text[i]))) continue;
        const unsigned char trail = i + 1 < text.size() ? static_cast<unsigned char>(text[++i]) : 0;
        if (trail < 0x40 || trail == 0x7F || trail > 0xFC) return false;
    }
    return true;
}

TEST(Forecast, BlocksLongerThanALineEndOnACharacterBoundary) {
    // Today's five cells full of two-byte characters make its block longer than a line;
    // with or without one more byte before them, the cut must not split a character.
    std::string fill;
    while (fill.size() < 400) fill += "雨";
    for (const char* pad : {"", "x"}) {
        std::string page = FixturePage();
        const std::string today = "<td class=\"past\">---</td><td>10%</td><td>20%</td><td>30%</td>";
        const std::size_t row = page.find(today);
        ASSERT_NE(row, std::string::npos);
        page.replace(row, today.size(), "<td>" + std::string(pad) + fill + "</td><td>" + fill + "</td><td>" +
                                            fill + "</td><td>" + fill + "</td>");
        page.replace(page.find("北の風"), 6, fill);
        Page out(page, 1024000);
        ASSERT_EQ(FormatForecast(out.get(), out.capacity), 1);
        const std::string text = out.str();
        EXPECT_NE(text.find("明日11月4日(月)"), std::string::npos) << pad;
        EXPECT_TRUE(WholeCharacters(text)) << "pad \"" << pad << "\"";
    }
}

TEST(Forecast, RealOneHourPageFailsCleanly) {
    std::string html;
    if (!ReadPage(Root() + "/../shared/realworld/tenki-1hour-hiroshima-nishi-2019-RECONSTRUCTED.html", &html))
        GTEST_SKIP() << "no saved pages";
    Page page(html, 1024000);
    int result = FormatForecast(page.get(), page.capacity);
    std::string text = page.str();
    // Whatever it finds, the text stays within the page and, when formatted, plain.
    EXPECT_TRUE(page.GuardIntact());
    if (result == 1) {
        EXPECT_EQ(text.find(' '), std::string::npos);
        EXPECT_EQ(text.find("\n\n\n"), std::string::npos);
    } else {
        EXPECT_LE(text.size(), html.size());
    }
}

}  // namespace
