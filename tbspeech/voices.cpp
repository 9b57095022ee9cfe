#include "tbspeech/voices.h"

#include "tbspeech/sapi_args.h"

namespace {

const wchar_t kVoicesCategory[] = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices";

ComPtr<IEnumSpObjectTokens> EnumerateVoices() {
    ComPtr<ISpObjectTokenCategory> category;
    ComPtr<IEnumSpObjectTokens> tokens;
    if (FAILED(CoCreateInstance(CLSID_SpObjectTokenCategory,
                                nullptr,
                                CLSCTX_ALL,
                                IID_ISpObjectTokenCategory,
                                reinterpret_cast<void**>(category.GetAddressOf()))))
        return nullptr;
    if (FAILED(category->SetId(kVoicesCategory, FALSE))) return nullptr;
    if (FAILED(category->EnumTokens(nullptr, nullptr, tokens.GetAddressOf()))) return nullptr;
    return tokens;
}

ComPtr<ISpObjectToken> NextVoice(IEnumSpObjectTokens* tokens) {
    ComPtr<ISpObjectToken> token;
    ULONG fetched = 0;
    if (tokens->Next(1, token.GetAddressOf(), &fetched) != S_OK || fetched != 1) return nullptr;
    return token;
}

// Copies a string SAPI hands out into buffer and frees it; false when there is none.
bool TakeString(HRESULT result, wchar_t*& value, wchar_t* buffer, int capacity) {
    bool taken = SUCCEEDED(result) && value && value[0];
    if (taken) lstrcpynW(buffer, value, capacity);
    CoTaskMemFree(value);
    value = nullptr;
    return taken;
}

using RegLoadMuiStringW = LONG(WINAPI*)(HKEY, LPCWSTR, LPWSTR, DWORD, LPDWORD, DWORD, LPCWSTR);

// The token's "Description" value loaded as an MUI string (Windows Vista and later).
bool MuiDescription(const wchar_t* tokenId, wchar_t* buffer, int capacity) {
    HMODULE advapi = LoadLibraryW(L"advapi32.dll");
    if (!advapi) return false;
    auto load = reinterpret_cast<RegLoadMuiStringW>(
        reinterpret_cast<void*>(GetProcAddress(advapi, "RegLoadMUIStringW")));
    const wchar_t* path = nullptr;
    TokenRoot root = SplitTokenId(tokenId, &path);
    HKEY key = nullptr;
    bool loaded = false;
    if (load && root != TokenRoot::None &&
        RegOpenKeyExW(root == TokenRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                      path,
                      0,
                      KEY_READ,
                      &key) == ERROR_SUCCESS) {
        DWORD bytes = 0;
        loaded = load(key,
                      L"Description",
                      buffer,
                      static_cast<DWORD>(capacity * sizeof(wchar_t)),
                      &bytes,
                      0,
                      nullptr) == ERROR_SUCCESS;
        buffer[capacity - 1] = L'\0';
        loaded = loaded && buffer[0];
        RegCloseKey(key);
    }
    FreeLibrary(advapi);
    return loaded;
}

}  // namespace

ComPtr<ISpObjectToken> VoiceTokenAt(int index) {
    if (index < 0) return nullptr;
    ComPtr<IEnumSpObjectTokens> tokens = EnumerateVoices();
    if (!tokens) return nullptr;
    for (int i = 0;; i++) {
        ComPtr<ISpObjectToken> token = NextVoice(tokens.Get());
        if (!token || i == index) return token;
    }
}

void VoiceDescription(ISpObjectToken* token, LANGID languageId, wchar_t* buffer, int capacity) {
    buffer[0] = L'\0';
    wchar_t* id = nullptr;
    wchar_t tokenId[MAX_PATH] = L"";
    HRESULT result = token->GetId(&id);
    TakeString(result, id, tokenId, MAX_PATH);
    if (MuiDescription(tokenId, buffer, capacity)) return;
    wchar_t valueName[16];
    LanguageValueName(languageId, valueName, 16);
    wchar_t* value = nullptr;
    result = token->GetStringValue(valueName, &value);
    if (TakeString(result, value, buffer, capacity)) return;
    result = token->GetStringValue(nullptr, &value);
    if (TakeString(result, value, buffer, capacity)) return;
    lstrcpynW(buffer, TokenIdLastPart(tokenId), capacity);
}

void FillVoiceComboBox(HWND comboBox) {
    ComPtr<IEnumSpObjectTokens> tokens = EnumerateVoices();
    if (!tokens) return;
    bool first = true;
    LANGID language = GetUserDefaultUILanguage();
    for (int index = 0;; index++) {
        ComPtr<ISpObjectToken> token = NextVoice(tokens.Get());
        if (!token) break;
        wchar_t description[VoiceDescriptionCapacity];
        VoiceDescription(token.Get(), language, description, VoiceDescriptionCapacity);
        LRESULT item = SendMessageW(comboBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(description));
        if (item == CB_ERR || item == CB_ERRSPACE) continue;
        SendMessageW(comboBox, CB_SETITEMDATA, item, index);
        if (first) SendMessageW(comboBox, CB_SETCURSEL, item, 0);
        first = false;
    }
}
