#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "library/shortcuts.h"
#include "library/webaddress.h"
#include "retrieval/sources.h"

namespace {

TEST(Shortcuts, StationsAreTheThreeChannelsInEightAreasWithTheirLabels) {
    std::set<std::string> seen;
    for (int i = 0; i < RadioStationCount; ++i) {
        char address[RadioAddressCapacity];
        ASSERT_TRUE(RadioStationAddress(i, address, sizeof address));
        EXPECT_TRUE(IsWebAddress(address));
        EXPECT_LE(std::strlen(RadioStationLabel(i)), static_cast<size_t>(RadioLabelCapacity - 1));
        seen.insert(address);
    }
    EXPECT_EQ(24u, seen.size());
    char address[RadioAddressCapacity];
    RadioStationAddress(20, address, sizeof address);
    EXPECT_EQ(std::string("http://") + RadioPlayerHost + "/netradio/player/index.html?ch=fm&area=osaka",
              address);
    EXPECT_STREQ("NHK-FM 大阪", RadioStationLabel(20));
    EXPECT_STREQ("ラジオ第1 札幌", RadioStationLabel(0));
    EXPECT_STREQ("ラジオ第2 福岡", RadioStationLabel(15));
    EXPECT_FALSE(RadioStationAddress(24, address, sizeof address));
    EXPECT_STREQ("", address);
    EXPECT_EQ(nullptr, RadioStationLabel(-1));
    EXPECT_FALSE(RadioStationAddress(0, address, 20));  // does not fit: refused, never cut
}

TEST(Shortcuts, OnlyTheExactAddressOfAStationGivesItsLabel) {
    char address[RadioAddressCapacity];
    RadioStationAddress(18, address, sizeof address);  // fm, tokyo
    char name[64] = "list text";
    EXPECT_EQ(1, RadioLabelFor(address, name, sizeof name));
    EXPECT_STREQ("NHK-FM 東京", name);

    std::string other = std::string(address) + "&x=1";
    std::strcpy(name, "list text");
    EXPECT_EQ(0, RadioLabelFor(other.c_str(), name, sizeof name));
    std::string upper = address;
    upper[0] = 'H';
    EXPECT_EQ(0, RadioLabelFor(upper.c_str(), name, sizeof name));
    EXPECT_STREQ("list text", name);

    char small[8] = "";
    EXPECT_EQ(1, RadioLabelFor(address, small, sizeof small));
    EXPECT_LT(std::strlen(small), sizeof small);
}

TEST(Shortcuts, MakerPagesFollowTheConfiguredMakerSite) {
    char address[256];
    MakerPageAddress(ChangeHistoryPath, address, sizeof address);
    EXPECT_EQ(std::string(ShippedSourceAddress(SourceMakerSite)) + "/tavlo/ver11/history.html", address);
    SetSourceAddress(SourceMakerSite, "https://localhost");
    MakerPageAddress(InquiryPath, address, sizeof address);
    EXPECT_STREQ("https://localhost/inquiry/", address);
    MakerPageAddress(MakerTopPath, address, sizeof address);
    EXPECT_STREQ("https://localhost/", address);
    EXPECT_TRUE(IsWebAddress(address));
    EXPECT_TRUE(IsWebAddress(SpecialRadioAddress));
    SetSourceAddress(SourceMakerSite, "");
}

TEST(WebAddress, OnlyHttpAndHttpsAddressesGoToTheBrowser) {
    const char* accepted[] = {"http://a.jp/", "https://a.jp/x?y=1", "HTTPS://A.JP", "Http://a"};
    for (const char* a : accepted) EXPECT_TRUE(IsWebAddress(a)) << a;
    const char* refused[] = {"",
                             "http://",
                             "https:/a.jp",
                             "file:///c:/windows/system32/calc.exe",
                             "javascript:alert(1)",
                             "c:\\windows\\notepad.exe",
                             " http://a.jp/",
                             "http://a.jp/\r\nx",
                             "httpx://a.jp",
                             "ftp://a.jp/",
                             // The shell would read on past a space or a quote as arguments.
                             "https://a.jp/x y",
                             "https://a.jp/\" --new-window file:///c:/",
                             "http://a.jp/\""};
    for (const char* a : refused) EXPECT_FALSE(IsWebAddress(a)) << a;
    EXPECT_FALSE(IsWebAddress(nullptr));
}

}  // namespace
