#include <windows.h>

#include "library/settings.h"

namespace {

const char SettingsKeyPath[] = "Software\\Morvick\\Tavlo2";

// Owns an open registry key and closes it on every path.
class ScopedKey {
  public:
    ScopedKey() = default;
    ~ScopedKey() {
        if (key_) RegCloseKey(key_);
    }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

void WriteDword(HKEY key, const char* name, int32_t value) {
    DWORD data = static_cast<DWORD>(value);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

// Reads one value into *value when it is exactly 4 bytes long; any other value is
// missing and leaves *value as it was.
void QueryDword(HKEY key, const char* name, int32_t* value) {
    DWORD data = 0;
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&data), &size) ==
            ERROR_SUCCESS &&
        size == sizeof data)
        *value = static_cast<int32_t>(data);
}

}  // namespace

int CreateDefaultSettings() {
    ScopedKey key;
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
        ScopedKey key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_ALL_ACCESS, key.out()) ==
            ERROR_SUCCESS) {
            for (int i = 0; i < SettingValueCount; ++i)
                QueryDword(key.get(), SettingValues[i].name, &slots[i]);
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
    ScopedKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_ALL_ACCESS, key.out()) != ERROR_SUCCESS)
        return;
    for (int i = 0; i < count; ++i) WriteDword(key.get(), values[i].name, values[i].value);
}

void ReadSettings(const SettingRead* values, int count) {
    ScopedKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_ALL_ACCESS, key.out()) != ERROR_SUCCESS)
        return;
    for (int i = 0; i < count; ++i) QueryDword(key.get(), values[i].name, values[i].value);
}
