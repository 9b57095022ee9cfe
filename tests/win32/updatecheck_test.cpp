// The update check's download against the local HTTPS site, whose fixtures/update/<n> folders
// each stand for a maker site publishing release n.
#include "retrieval/updatecheck.h"

#include <gtest/gtest.h>

#include "retrieval/sources.h"

namespace {

UpdateStatus StatusFrom(const char* makerSite) {
    SetSourceAddress(SourceMakerSite, makerSite);
    UpdateStatus status = FetchUpdateStatus();
    SetSourceAddress(SourceMakerSite, nullptr);
    return status;
}

TEST(UpdateCheckSiteTest, PublishedReleasesAgainstThisOne) {
    EXPECT_EQ(UpdateStatus::Current, StatusFrom("https://localhost/update/1139"));
    EXPECT_EQ(UpdateStatus::NewerRelease, StatusFrom("https://localhost/update/1140"));
    EXPECT_EQ(UpdateStatus::NewerRelease, StatusFrom("https://localhost/update/11405"));
    // An error page instead of the version file holds no number: no newer release.
    EXPECT_EQ(UpdateStatus::Current, StatusFrom("https://localhost/update/none"));
    EXPECT_EQ(UpdateStatus::Unreachable, StatusFrom("https://unreachable.invalid"));
}

}  // namespace
