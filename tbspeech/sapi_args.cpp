#include "tbspeech/sapi_args.h"

#include <cwchar>

namespace {

struct RateGroup {
    unsigned long samplesPerSecond;
    int firstSapiFormat;  // the 8-bit mono format of the group
};

// Codes 1-4, 5-8, ... 21-24. SAPI's 12, 24 and 48 kHz groups have no code.
const RateGroup kRateGroups[] = {
    {8000,  4 },
    {11025, 8 },
    {16000, 16},
    {22050, 20},
    {32000, 32},
    {44100, 36},
};

bool StartsWith(const wchar_t* text, const wchar_t* prefix, size_t* length) {
    size_t n = wcslen(prefix);
    if (wcsncmp(text, prefix, n) != 0) return false;
    *length = n;
    return true;
}

}  // namespace

bool RecordingFormatForCode(int code, RecordingFormat* format) {
    if (code < 1 || code > 24) return false;
    const RateGroup& group = kRateGroups[(code - 1) / 4];
    int variant = (code - 1) % 4;  // 8-bit mono, 8-bit stereo, 16-bit mono, 16-bit stereo
    format->sapiFormat = group.firstSapiFormat + variant;
    format->samplesPerSecond = group.samplesPerSecond;
    format->channels = static_cast<unsigned short>(variant % 2 + 1);
    format->bitsPerSample = static_cast<unsigned short>(variant < 2 ? 8 : 16);
    format->blockAlign = static_cast<unsigned short>(format->channels * format->bitsPerSample / 8);
    format->averageBytesPerSecond = format->samplesPerSecond * format->blockAlign;
    return true;
}

namespace {

// Page texts are spoken as they are: without an explicit "not XML" SAPI guesses from the first
// character, and a headline could then carry silences, voices or rates of its own.
unsigned long MarkupFlag(int isXml) { return isXml == 1 ? SpeakIsXml : SpeakIsNotXml; }

}  // namespace

unsigned long PlaySpeakFlags(int isFileName, int synchronous, int isXml) {
    unsigned long flags = MarkupFlag(isXml);
    if (isFileName != 0) return flags | SpeakIsFileName;
    return synchronous == 1 ? flags : flags | SpeakAsync;
}

unsigned long RecordSpeakFlags(int isFileName, int isXml) {
    unsigned long flags = MarkupFlag(isXml);
    return isFileName != 0 ? flags | SpeakIsFileName : flags;
}

void PitchMarkup(int pitch, wchar_t* buffer, size_t capacity) {
    if (capacity == 0) return;
    if (swprintf(buffer, capacity, L"<pitch middle=\"%d\"/>", pitch) < 0) buffer[0] = L'\0';
    buffer[capacity - 1] = L'\0';
}

void LanguageValueName(unsigned int languageId, wchar_t* buffer, size_t capacity) {
    if (capacity == 0) return;
    if (swprintf(buffer, capacity, L"%x", languageId) < 0) buffer[0] = L'\0';
    buffer[capacity - 1] = L'\0';
}

TokenRoot SplitTokenId(const wchar_t* id, const wchar_t** path) {
    size_t n = 0;
    TokenRoot root = TokenRoot::None;
    if (!id) return root;
    if (StartsWith(id, L"HKEY_LOCAL_MACHINE\\", &n))
        root = TokenRoot::LocalMachine;
    else if (StartsWith(id, L"HKEY_CURRENT_USER\\", &n))
        root = TokenRoot::CurrentUser;
    if (root != TokenRoot::None && path) *path = id + n;
    return root;
}

const wchar_t* TokenIdLastPart(const wchar_t* id) {
    if (!id) return L"";
    const wchar_t* last = wcsrchr(id, L'\\');
    return last ? last + 1 : id;
}
