// The settings store against the real registry of the Wine prefix the tests run in: what the
// first start writes, what an older key yields in memory, and what the readers and writers of
// the dialogs leave behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "library/settings.h"

namespace {

const char KeyPath[] = "Software\\Morvick\\Tavlo2";

class SettingsRegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = Settings;
        RegDeleteKeyA(HKEY_CURRENT_USER, KeyPath);
    }
    void TearDown() override {
        RegDeleteKeyA(HKEY_CURRENT_USER, KeyPath);
        Settings = saved_;
    }

    static void Put(const char* name, DWORD value) {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExA(
                      HKEY_CURRENT_USER, KeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
        RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        RegCloseKey(key);
    }

    static void PutString(const char* name, const char* text) {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExA(
                      HKEY_CURRENT_USER, KeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), strlen(text) + 1);
        RegCloseKey(key);
    }

    // Every value of the key: name to (type, data as a DWORD when it is 4 bytes long).
    static std::map<std::string, std::pair<DWORD, DWORD>> Values() {
        std::map<std::string, std::pair<DWORD, DWORD>> values;
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
        for (DWORD i = 0;; ++i) {
            char name[64];
            DWORD nameLength = sizeof name, type = 0, data = 0, size = sizeof data;
            if (RegEnumValueA(
                    key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
                ERROR_SUCCESS)
                break;
            values[name] = {type, size == 4 ? data : 0xFFFFFFFF};
        }
        RegCloseKey(key);
        return values;
    }

    SettingsRecord saved_{};
};

TEST_F(SettingsRegistryTest, FirstStartWritesAllSeventeenDefaultsAndASecondStartKeepsChanges) {
    ASSERT_EQ(1, CreateDefaultSettings());
    auto values = Values();
    ASSERT_EQ(17u, values.size());
    for (const SettingValue& v : SettingValues) {
        ASSERT_EQ(1u, values.count(v.name)) << v.name;
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), values[v.name].first) << v.name;
        EXPECT_EQ(static_cast<DWORD>(v.defaultValue), values[v.name].second) << v.name;
    }
    EXPECT_EQ(0u, values["Opetion15"].second);

    // The key exists now: a later start writes nothing over what the user chose.
    Put("Opetion0", 0);
    ASSERT_EQ(1, CreateDefaultSettings());
    EXPECT_EQ(0u, Values()["Opetion0"].second);
    LoadSettings();
    EXPECT_EQ(0, Settings.Prefecture);
    EXPECT_EQ(1, Settings.NumberEntries);
}

TEST_F(SettingsRegistryTest, OlderKeyWithLegacyEngineGivesNvdaInMemoryOnly) {
    Put("Opetion4", 3);
    Put("Opetion0", 5);
    ASSERT_EQ(1, CreateDefaultSettings());
    LoadSettings();
    EXPECT_EQ(2, Settings.SpeechEngine);
    EXPECT_EQ(5, Settings.Prefecture);
    EXPECT_EQ(1, Settings.ReadOnReceive);  // missing: the default
    auto values = Values();
    EXPECT_EQ(2u, values.size());
    EXPECT_EQ(0u, values.count("Opetion20"));

    // A stored engine wins over the older value.
    Put("Opetion20", 1);
    LoadSettings();
    EXPECT_EQ(1, Settings.SpeechEngine);
}

TEST_F(SettingsRegistryTest, WritersStoreDwordsAndReadersSkipMissingOrOddValues) {
    const SettingWrite writes[] = {
        {"Opetion1",  0},
        {"Opetion21", 4},
        {"Opetion16", 0}
    };
    WriteSettings(writes, 3);  // no key yet: nothing is stored, nothing fails
    EXPECT_TRUE(Values().empty());

    Put("Opetion0", 12);
    WriteSettings(writes, 3);
    auto values = Values();
    EXPECT_EQ(4u, values.size());
    EXPECT_EQ(std::make_pair(static_cast<DWORD>(REG_DWORD), 4ul), values["Opetion21"]);

    PutString("Opetion16", "a long text, not a number");
    int32_t updateCheck = 7, startAction = 7, numberEntries = 7, missing = 7;
    const SettingRead reads[] = {
        {"Opetion1",  &updateCheck  },
        {"Opetion21", &startAction  },
        {"Opetion16", &numberEntries},
        {"Opetion9",  &missing      }
    };
    ReadSettings(reads, 4);
    EXPECT_EQ(0, updateCheck);
    EXPECT_EQ(4, startAction);
    EXPECT_EQ(7, numberEntries);
    EXPECT_EQ(7, missing);
}

TEST_F(SettingsRegistryTest, StoreSettingsWritesRegistryAndMemoryUnderTheTableNames) {
    const SettingChange changes[] = {
        {&SettingsRecord::SpeechEngine, 2},
        {&SettingsRecord::CountNotice,  0},
    };
    StoreSettings(changes, 2);  // no key yet: memory only
    EXPECT_TRUE(Values().empty());
    EXPECT_EQ(2, Settings.SpeechEngine);
    EXPECT_EQ(0, Settings.CountNotice);

    Put("Opetion0", 12);
    StoreSetting(&SettingsRecord::ReadOnReceive, 0);
    StoreSettings(changes, 2);
    auto values = Values();
    EXPECT_EQ(4u, values.size());
    EXPECT_EQ(std::make_pair(static_cast<DWORD>(REG_DWORD), 2ul), values["Opetion20"]);
    EXPECT_EQ(std::make_pair(static_cast<DWORD>(REG_DWORD), 0ul), values["Opetion17"]);
    EXPECT_EQ(std::make_pair(static_cast<DWORD>(REG_DWORD), 0ul), values["Opetion22"]);
    EXPECT_EQ(0, Settings.ReadOnReceive);
}

}  // namespace
