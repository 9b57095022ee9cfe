#include <gtest/gtest.h>

#include <set>
#include <string>

#include "library/settings.h"

namespace {

TEST(Settings, DefaultsMatchTheRegistryTable) {
    SettingsRecord d = DefaultSettings();
    EXPECT_EQ(12, d.Prefecture);
    EXPECT_EQ(1, d.UpdateCheckAtStart);
    EXPECT_EQ(20, d.RecordVolume);
    EXPECT_EQ(10, d.RecordRate);
    EXPECT_EQ(10, d.RecordPitch);
    EXPECT_EQ(1, d.NumberEntries);
    EXPECT_EQ(1, d.CountNotice);
    EXPECT_EQ(0, d.SpeechEngine);
    EXPECT_EQ(1, d.ReadOnReceive);
    // Eighteen distinct names, "Opetion" spelled so, none of 2, 5..8 or 18.
    std::set<std::string> names;
    for (const SettingValue& v : SettingValues) names.insert(v.name);
    EXPECT_EQ(18u, names.size());
    for (const char* absent : {"Opetion2", "Opetion5", "Opetion8", "Opetion18"})
        EXPECT_EQ(0u, names.count(absent));
    EXPECT_STREQ("Opetion0", SettingValues[0].name);
    EXPECT_STREQ("Opetion22", SettingValues[16].name);
    EXPECT_STREQ("Opetion23", SettingValues[17].name);
    EXPECT_EQ(1, DefaultSettings().MainTextFallback);
}

TEST(Settings, LegacyEngineDecidesOnlyWhenTheEngineIsZero) {
    EXPECT_EQ(1, ApplyLegacyEngine(0, 2));
    EXPECT_EQ(2, ApplyLegacyEngine(0, 3));
    EXPECT_EQ(0, ApplyLegacyEngine(0, 1));
    EXPECT_EQ(0, ApplyLegacyEngine(0, 4));
    EXPECT_EQ(1, ApplyLegacyEngine(1, 3));
    EXPECT_EQ(2, ApplyLegacyEngine(2, 2));
}

TEST(Settings, LocalCategoryNumbersFollowThePrefectureAndHokkaidoRegion) {
    SettingsRecord saved = Settings;
    Settings.Prefecture = 0;
    const int regionToFirst[] = {1, 51, 52, 53};
    for (int region = 0; region < 4; ++region) {
        Settings.HokkaidoRegion = region;
        EXPECT_EQ(regionToFirst[region], LocalCategoryNumber(1, 7));
        EXPECT_EQ(1, LocalCategoryNumber(2, 7));
        EXPECT_EQ(1, LocalCategoryNumber(3, 7));
    }
    Settings.HokkaidoRegion = 9;  // unknown region keeps the menu's own number
    EXPECT_EQ(7, LocalCategoryNumber(1, 7));
    Settings.Prefecture = 12;  // Tokyo
    Settings.HokkaidoRegion = 2;
    for (int source = 1; source <= 3; ++source) EXPECT_EQ(13, LocalCategoryNumber(source, 7));
    Settings = saved;
}

TEST(Settings, PrefectureTableKeepsItsOwnOrder) {
    EXPECT_STREQ("北海道", PrefectureTable[0]);
    EXPECT_STREQ("東京都", PrefectureTable[12]);
    EXPECT_STREQ("山梨県", PrefectureTable[14]);
    EXPECT_STREQ("福井県", PrefectureTable[23]);
    EXPECT_STREQ("滋賀県", PrefectureTable[24]);
    EXPECT_STREQ("沖縄県", PrefectureTable[46]);
}

}  // namespace
