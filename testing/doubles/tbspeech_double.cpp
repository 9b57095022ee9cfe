// Stand-in for the speech library TBSpeech.dll, whose rendering cannot run under Wine: the nine
// exports, each call logged to the file named by TAVLO_SPEECH_LOG in the transcript's form
// (engine "tbspeech"), two voices for a voice list, and RecSAPI writing a short silent wave
// file of the format asked for (or nothing, or slowly, as the control file says).
#include <windows.h>

#include <cstdio>
#include <string>

#include "transcript.h"

namespace {

void Log(const char* call, const wchar_t* text, const char* detail) {
    LogWrite(L"TAVLO_SPEECH_LOG", "tbspeech", call, text, detail);
}

void Put(std::string& s, unsigned value, int bytes) {
    for (int i = 0; i < bytes; i++) s += char((value >> (8 * i)) & 0xFF);
}

// A tenth of a second of silence in the library's format code 1 to 24 (24 when unknown).
std::string SilentWave(int formatCode) {
    static const unsigned rates[] = {8000, 11025, 16000, 22050, 32000, 44100};
    if (formatCode < 1 || formatCode > 24) formatCode = 24;
    unsigned rate = rates[(formatCode - 1) / 4];
    int variant = (formatCode - 1) % 4;
    unsigned channels = (variant & 1) ? 2 : 1, bits = (variant & 2) ? 16 : 8;
    unsigned align = channels * bits / 8, size = rate / 10 * align;
    std::string wave = "RIFF";
    Put(wave, 36 + size, 4);
    wave += "WAVEfmt ";
    Put(wave, 16, 4);
    Put(wave, 1, 2);
    Put(wave, channels, 2);
    Put(wave, rate, 4);
    Put(wave, rate * align, 4);
    Put(wave, align, 2);
    Put(wave, bits, 2);
    wave += "data";
    Put(wave, size, 4);
    return wave + std::string(size, bits == 8 ? '\x80' : '\0');
}

}  // namespace

extern "C" {

int __cdecl OpenSAPI() {
    Log("OpenSAPI", nullptr, nullptr);
    return 1;
}

int __cdecl CloseSAPI() {
    Log("CloseSAPI", nullptr, nullptr);
    return 1;
}

int __cdecl GetVoiceSAPI(HWND combo) {
    Log("GetVoiceSAPI", nullptr, nullptr);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"テスト音声 一"));
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"テスト音声 二"));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    return 1;
}

int __cdecl SetSAPI(HWND, int voice, int volume, int rate, int pitch) {
    char detail[64];
    snprintf(detail, sizeof detail, "%d,%d,%d,%d", voice, volume, rate, pitch);
    Log("SetSAPI", nullptr, detail);
    return 1;
}

int __cdecl PlaySAPI(const wchar_t* text, int isFileName, int synchronous, int isXml) {
    char detail[64];
    snprintf(detail, sizeof detail, "%d,%d,%d", isFileName, synchronous, isXml);
    Log("PlaySAPI", text, detail);
    return 1;
}

int __cdecl PauseSAPI() {
    Log("PauseSAPI", nullptr, nullptr);
    return 1;
}

int __cdecl ResumeSAPI() {
    Log("ResumeSAPI", nullptr, nullptr);
    return 1;
}

int __cdecl StopSAPI() {
    Log("StopSAPI", nullptr, nullptr);
    return 1;
}

// detail: voice,volume,rate,pitch,isFileName,isXml,closeOnly,formatCode
int __cdecl RecSAPI(const wchar_t* wavPath, const wchar_t* text, HWND, int voice, int volume, int rate,
                   int pitch, int isFileName, int isXml, int closeOnly, int formatCode) {
    char detail[96];
    snprintf(detail,
             sizeof detail,
             "%d,%d,%d,%d,%d,%d,%d,%d",
             voice,
             volume,
             rate,
             pitch,
             isFileName,
             isXml,
             closeOnly,
             formatCode);
    Log("RecSAPI", text, detail);
    ControlValues control = ReadControl();
    if (control.speechDelayMs > 0) Sleep(static_cast<DWORD>(control.speechDelayMs));
    if (closeOnly == 1 || !control.speechRenders || !wavPath) return 1;
    HANDLE file =
        CreateFileW(wavPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    std::string wave = SilentWave(formatCode);
    DWORD written = 0;
    WriteFile(file, wave.data(), static_cast<DWORD>(wave.size()), &written, nullptr);
    CloseHandle(file);
    return 1;
}

}  // extern "C"
