#include <windows.h>

#include "library/settings.h"
#include "win/handles.h"

namespace {

const char SettingsKeyPath[] = "Software\\Morvick\\Tavlo2";

void WriteDword(HKEY key, const char* name, int32_t value) {
    DWORD data = static_cast<DWORD>(value);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

bool OpenSettingsKey(win::RegistryKey& key) {
    return RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_ALL_ACCESS, key.out()) == ERROR_SUCCESS;
}

}  // namespace

int CreateDefaultSettings() {
    win::RegistryKey key;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER,
                        SettingsKeyPath,
                        0,
                        nullptr,
                        REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS,
                        nullptr,
                        key.out(),
                        &disposition) != ERROR_SUCCESS)
        return 1;
    if (disposition == REG_OPENED_EXISTING_KEY) return 1;
    for (const SettingValue& v : SettingValues) WriteDword(key.get(), v.name, v.defaultValue);
    return 1;
}

int LoadSettings() {
    int32_t slots[SettingValueCount];
    for (int i = 0; i < SettingValueCount; ++i) slots[i] = SettingValues[i].defaultValue;
    {
        win::RegistryKey key;
        if (OpenSettingsKey(key)) {
            for (int i = 0; i < SettingValueCount; ++i) {
                DWORD size = sizeof slots[i];
                RegQueryValueExA(key.get(),
                                 SettingValues[i].name,
                                 nullptr,
                                 nullptr,
                                 reinterpret_cast<BYTE*>(&slots[i]),
                                 &size);
            }
        }
    }
    SettingsRecord loaded = DefaultSettings();
    for (int i = 0; i < SettingValueCount; ++i)
        if (SettingValues[i].field) loaded.*(SettingValues[i].field) = slots[i];
    loaded.SpeechEngine = ApplyLegacyEngine(loaded.SpeechEngine, loaded.LegacyEngine);
    Settings = loaded;
    return 1;
}

void WriteSettings(const SettingWrite* values, int count) {
    win::RegistryKey key;
    if (!OpenSettingsKey(key)) return;
    for (int i = 0; i < count; ++i) WriteDword(key.get(), values[i].name, values[i].value);
}

void StoreSettings(const SettingChange* changes, int count) {
    win::RegistryKey key;
    bool open = OpenSettingsKey(key);
    for (int i = 0; i < count; ++i) {
        const char* name = SettingName(changes[i].field);
        if (open && name) WriteDword(key.get(), name, changes[i].value);
        Settings.*(changes[i].field) = changes[i].value;
    }
}

void StoreSetting(int32_t SettingsRecord::*field, int32_t value) {
    const SettingChange change{field, value};
    StoreSettings(&change, 1);
}

void ReadSettings(const SettingRead* values, int count) {
    win::RegistryKey key;
    if (!OpenSettingsKey(key)) return;
    for (int i = 0; i < count; ++i) {
        DWORD data = 0;
        DWORD size = sizeof data;
        if (RegQueryValueExA(
                key.get(), values[i].name, nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &size) ==
                ERROR_SUCCESS &&
            size == sizeof data)
            *values[i].value = static_cast<int32_t>(data);
    }
}
