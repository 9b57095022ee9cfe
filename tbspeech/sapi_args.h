// The arithmetic of the speech library that needs no Windows: the WAV formats behind the
// recording format codes, the speak flags built from the exports' arguments, the pitch markup
// and the reading of voice token identifiers.
#pragma once
#include <cstddef>

// SAPI's speak flags (SPEAKFLAGS) used here.
enum SpeakFlag {
    SpeakAsync = 1,
    SpeakPurgeBeforeSpeak = 2,
    SpeakIsFileName = 4,
    SpeakIsXml = 8,
    SpeakIsNotXml = 16,
    SpeakPersistXml = 32,
};

// A PCM wave format chosen by a recording format code, with the number of SAPI's stream
// format (SPSTREAMFORMAT) that names it.
struct RecordingFormat {
    int sapiFormat;
    unsigned long samplesPerSecond;
    unsigned short channels;
    unsigned short bitsPerSample;
    unsigned short blockAlign;
    unsigned long averageBytesPerSecond;
};

// Fills format for a code 1 to 24 and returns true; any other code leaves it as it was and
// returns false.
bool RecordingFormatForCode(int code, RecordingFormat* format);

// The flags of a live speak call: XML when isXml is 1, otherwise explicitly not XML (SAPI would
// parse a text that starts with '<' as markup), the file-name flag when isFileName is non-zero
// (never asynchronous then), otherwise asynchronous unless synchronous is 1.
unsigned long PlaySpeakFlags(int isFileName, int synchronous, int isXml);

// The flags of a rendering: always synchronous, plus XML and file-name as for PlaySpeakFlags.
unsigned long RecordSpeakFlags(int isFileName, int isXml);

// The flags with which the pitch markup is spoken, so that it holds for all that follows.
constexpr unsigned long PitchSpeakFlags = SpeakIsXml | SpeakPersistXml;

// Writes "<pitch middle="p"/>" into buffer (UTF-16 on Windows); always terminated.
void PitchMarkup(int pitch, wchar_t* buffer, size_t capacity);

// The name of a token's language-specific description value: the language id in lower-case
// hexadecimal ("411" for Japanese). Always terminated.
void LanguageValueName(unsigned int languageId, wchar_t* buffer, size_t capacity);

// The registry root a voice token identifier starts with ("HKEY_LOCAL_MACHINE\..." or
// "HKEY_CURRENT_USER\..."); *path then points at the key path after the first backslash.
enum class TokenRoot { None, LocalMachine, CurrentUser };
TokenRoot SplitTokenId(const wchar_t* id, const wchar_t** path);

// The last part of a token identifier (after its last backslash), shown for a voice that has
// no description at all so that no entry of a voice list is blank.
const wchar_t* TokenIdLastPart(const wchar_t* id);
