// Reading the maker's version file and the addresses of the update check.
#include <gtest/gtest.h>

#include <string>

#include "retrieval/sources.h"
#include "retrieval/updatecheck.h"

namespace {

TEST(UpdateCheckTest, ReleaseNumberIsReadFromTheFirstFourBytesOnly) {
    EXPECT_EQ(1139, ReleaseNumberOf("1139"));
    EXPECT_EQ(1140, ReleaseNumberOf("1140\r\n"));
    EXPECT_EQ(1140, ReleaseNumberOf("11405"));  // five digits: the first four count
    EXPECT_EQ(114, ReleaseNumberOf(" 1145"));
    EXPECT_EQ(11, ReleaseNumberOf("11.40"));
    EXPECT_EQ(-123, ReleaseNumberOf("-1234"));
    EXPECT_EQ(0, ReleaseNumberOf("<html>"));
    EXPECT_EQ(0, ReleaseNumberOf(""));
    EXPECT_EQ(0, ReleaseNumberOf(nullptr));
    EXPECT_EQ(0, ReleaseNumberOf("+"));
}

TEST(UpdateCheckTest, OnlyAHigherNumberIsANewerRelease) {
    EXPECT_FALSE(IsNewerRelease(ReleaseNumberOf("1139")));
    EXPECT_TRUE(IsNewerRelease(ReleaseNumberOf("1140")));
    EXPECT_TRUE(IsNewerRelease(ReleaseNumberOf("11405")));
    EXPECT_FALSE(IsNewerRelease(ReleaseNumberOf("999")));
    EXPECT_FALSE(IsNewerRelease(ReleaseNumberOf("error page")));
}

TEST(UpdateCheckTest, AddressesFollowTheConfiguredHost) {
    char address[1024];
    SetSourceAddress(SourceMakerSite, "https://localhost");
    VersionFileAddress(address, sizeof address);
    EXPECT_STREQ("https://localhost/appversion/tavlo1100.ver", address);
    ProductPageAddress(address, sizeof address);
    EXPECT_STREQ("https://localhost/tavlo/", address);
    char small[12];
    ProductPageAddress(small, sizeof small);
    EXPECT_STREQ("https://loc", small);
    SetSourceAddress(SourceMakerSite, nullptr);
    VersionFileAddress(address, sizeof address);
    EXPECT_EQ(std::string(ShippedSourceAddress(SourceMakerSite)) + "/appversion/tavlo1100.ver", address);
}

}  // namespace
