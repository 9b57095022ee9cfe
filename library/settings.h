// The user's options: one record of 32-bit values, loaded once from the registry at start-up
// and changed afterwards only by the dialogs and commands that write them.
//
// Adding a setting: a field in SettingsRecord, its row (registry name, default) in
// SettingValues (settings_table.cpp; the count below grows by one), and StoreSetting to change
// it: the registry and the record are then written together.
#pragma once
#include <cstdint>

// The values of SettingsRecord::SpeechEngine ("Opetion20"). Only speech/ acts on them.
enum SpeechEngineId : int32_t {
    SpeechEngineNone = 0,
    SpeechEnginePcTalker = 1,
    SpeechEngineNvda = 2,
};

struct SettingsRecord {
    int32_t Prefecture;          // "Opetion0"  index into PrefectureTable
    int32_t UpdateCheckAtStart;  // "Opetion1"
    int32_t LegacyEngine;        // "Opetion4"  older speech route, see LoadSettings
    int32_t RecordVoice;         // "Opetion9"
    int32_t RecordVolume;        // "Opetion10"
    int32_t RecordRate;          // "Opetion11"
    int32_t RecordPitch;         // "Opetion12"
    int32_t RecordTitleFirst;    // "Opetion13"
    int32_t RecordFormat;        // "Opetion14"
    int32_t HokkaidoRegion;      // "Opetion15"
    int32_t NumberEntries;       // "Opetion16"
    int32_t CountNotice;         // "Opetion17"
    int32_t WordWrap;            // "Opetion19"
    int32_t SpeechEngine;        // "Opetion20" 0 none, 1 PC-Talker, 2 NVDA
    int32_t StartAction;         // "Opetion21"
    int32_t ReadOnReceive;       // "Opetion22"
};

// Read by worker threads without a lock: every field is one aligned 32-bit value.
extern SettingsRecord Settings;

// One registry value of the settings key: its name, its default and where it lands in memory
// (nullptr for "Opetion3", which is read and dropped).
struct SettingValue {
    const char* name;
    int32_t defaultValue;
    int32_t SettingsRecord::*field;
};

// The 17 values in the order they are written on the first run and read at start-up.
extern const SettingValue SettingValues[17];
constexpr int SettingValueCount = 17;

SettingsRecord DefaultSettings();

// "Opetion20" 0 defers to the older "Opetion4": 2 means PC-Talker, 3 means NVDA.
int32_t ApplyLegacyEngine(int32_t speechEngine, int32_t legacyEngine);

constexpr int PrefectureCount = 47;
constexpr int HokkaidoRegionCount = 4;
constexpr int StartActionCount = 6;
extern const char* const PrefectureTable[PrefectureCount];  // Shift-JIS in the program
extern const char* const HokkaidoRegionTable[HokkaidoRegionCount];
extern const char* const StartActionTable[StartActionCount];

// The category number a local-news source (position 1, 2 or 3) receives for the chosen
// prefecture; menuNumber is what the menu file gave, kept for an unknown Hokkaido region.
int LocalCategoryNumber(int sourcePosition, int menuNumber);

// The registry name of a field of the record ("Opetion20" for SpeechEngine), nullptr for a
// field the table does not hold.
const char* SettingName(int32_t SettingsRecord::*field);

// Registry side (Win32 only).
int CreateDefaultSettings();
int LoadSettings();

// Opens the settings key, writes the values as REG_DWORD in the order given, closes the key.
struct SettingWrite {
    const char* name;
    int32_t value;
};
void WriteSettings(const SettingWrite* values, int count);

// Changes settings: opens the settings key once, writes each value as REG_DWORD under the
// field's name in the order given, and sets the field of Settings to it. A value is set in
// memory also when the key cannot be opened.
struct SettingChange {
    int32_t SettingsRecord::*field;
    int32_t value;
};
void StoreSettings(const SettingChange* changes, int count);
void StoreSetting(int32_t SettingsRecord::*field, int32_t value);

// Opens the settings key and reads the values named; a value that is missing or not 4 bytes
// long leaves its target as it was.
struct SettingRead {
    const char* name;
    int32_t* value;
};
void ReadSettings(const SettingRead* values, int count);
