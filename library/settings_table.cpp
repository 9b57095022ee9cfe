#include "library/settings.h"

SettingsRecord Settings = DefaultSettings();

const SettingValue SettingValues[17] = {
    {"Opetion0",  12, &SettingsRecord::Prefecture        },
    {"Opetion1",  1,  &SettingsRecord::UpdateCheckAtStart},
    {"Opetion3",  3,  nullptr                            },
    {"Opetion4",  0,  &SettingsRecord::LegacyEngine      },
    {"Opetion9",  0,  &SettingsRecord::RecordVoice       },
    {"Opetion10", 20, &SettingsRecord::RecordVolume      },
    {"Opetion11", 10, &SettingsRecord::RecordRate        },
    {"Opetion12", 10, &SettingsRecord::RecordPitch       },
    {"Opetion13", 1,  &SettingsRecord::RecordTitleFirst  },
    {"Opetion14", 0,  &SettingsRecord::RecordFormat      },
    {"Opetion15", 0,  &SettingsRecord::HokkaidoRegion    },
    {"Opetion16", 1,  &SettingsRecord::NumberEntries     },
    {"Opetion17", 1,  &SettingsRecord::CountNotice       },
    {"Opetion19", 0,  &SettingsRecord::WordWrap          },
    {"Opetion20", 0,  &SettingsRecord::SpeechEngine      },
    {"Opetion21", 0,  &SettingsRecord::StartAction       },
    {"Opetion22", 1,  &SettingsRecord::ReadOnReceive     },
};

SettingsRecord DefaultSettings() {
    SettingsRecord s{};
    for (const SettingValue& v : SettingValues)
        if (v.field) s.*(v.field) = v.defaultValue;
    return s;
}

const char* SettingName(int32_t SettingsRecord::*field) {
    for (const SettingValue& v : SettingValues)
        if (v.field && v.field == field) return v.name;
    return nullptr;
}

int32_t ApplyLegacyEngine(int32_t speechEngine, int32_t legacyEngine) {
    if (speechEngine != 0) return speechEngine;
    if (legacyEngine == 2) return 1;
    if (legacyEngine == 3) return 2;
    return 0;
}

const char* const PrefectureTable[PrefectureCount] = {
    "北海道", "青森県", "岩手県", "宮城県",   "秋田県", "山形県",   "福島県", "茨城県", "栃木県", "群馬県",
    "埼玉県", "千葉県", "東京都", "神奈川県", "山梨県", "長野県",   "新潟県", "岐阜県", "静岡県", "愛知県",
    "三重県", "富山県", "石川県", "福井県",   "滋賀県", "京都府",   "大阪府", "兵庫県", "奈良県", "和歌山県",
    "鳥取県", "島根県", "岡山県", "広島県",   "山口県", "徳島県",   "香川県", "愛媛県", "高知県", "福岡県",
    "佐賀県", "長崎県", "熊本県", "大分県",   "宮崎県", "鹿児島県", "沖縄県",
};

const char* const HokkaidoRegionTable[HokkaidoRegionCount] = {"道北", "道央", "道東", "道南"};

const char* const StartActionTable[StartActionCount] = {
    "トップメニュー",
    "前回読んだカテゴリーを受信",
    "お気に入り",
    "受信履歴",
    "お住まいの地域のニュース",
    "ニュースカテゴリー選択",
};

int LocalCategoryNumber(int sourcePosition, int menuNumber) {
    if (sourcePosition == 1 && Settings.Prefecture == 0) {
        switch (Settings.HokkaidoRegion) {
            case 0:
                return 1;
            case 1:
                return 51;
            case 2:
                return 52;
            case 3:
                return 53;
            default:
                return menuNumber;
        }
    }
    return Settings.Prefecture + 1;
}
