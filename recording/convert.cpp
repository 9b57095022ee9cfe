#include "recording/convert.h"

#include <mutex>
#include <string>
#include <vector>

#include "app/shell.h"
#include "library/settings.h"
#include "recording/recordpaths.h"
#include "recording/recordsummary.h"
#include "tbspeech/tbspeech.h"

RecordingSpeechCalls RecordingSpeech = {RecSAPI};
volatile LONG AbortRequest = 0;

namespace {

constexpr int ShiftJis = 932;
// A reservation is an article's text; anything beyond this is not one.
constexpr LONGLONG ReservationSizeLimit = 16 * 1024 * 1024;

std::mutex SpeechLibraryLock;

std::wstring Wide(const char* text, int bytes = -1) {
    int units = MultiByteToWideChar(ShiftJis, 0, text, bytes, nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring wide(units, L'\0');
    MultiByteToWideChar(ShiftJis, 0, text, bytes, &wide[0], units);
    if (bytes < 0) wide.resize(units - 1);  // the terminating zero was converted too
    return wide;
}

struct FileStamp {
    bool exists = false;
    ULONGLONG size = 0;
    FILETIME written = {};
};

FileStamp StampOf(const wchar_t* path) {
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExW(path, GetFileExInfoStandard, &data) &&
        !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        stamp.exists = true;
        stamp.size = (ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        stamp.written = data.ftLastWriteTime;
    }
    return stamp;
}

bool HasData(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path, GetFileExInfoStandard, &data) &&
           !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (data.nFileSizeHigh || data.nFileSizeLow);
}

// The reservation's text: the file's bytes up to the first zero byte or its end.
bool ReadReservationText(const char* path, std::string* text) {
    HANDLE file = CreateFileA(
        path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= ReservationSizeLimit;
    if (ok) {
        text->assign(static_cast<size_t>(size.QuadPart), '\0');
        DWORD read = 0;
        ok =
            text->empty() || (ReadFile(file, &(*text)[0], static_cast<DWORD>(text->size()), &read, nullptr) &&
                              read == text->size());
    }
    CloseHandle(file);
    if (ok) text->resize(strnlen(text->c_str(), text->size()));
    return ok;
}

// Starts the converter hidden and waits for it. True when it ran and ended with 0.
bool RunConverter(const char* converter, const char* wave, const char* mp3) {
    char command[ConverterCommandCapacity];
    if (!ConverterCommandLine(converter, wave, mp3, command, sizeof command)) return false;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode == 0;
}

ReservationOutcome ConvertReservation(HWND dialog, const char* name, const char* converter) {
    char textPath[RecordPathCapacity], wave[RecordPathCapacity], mp3[RecordPathCapacity];
    if (!ReservationFilePath(DataFolder, name, textPath, sizeof textPath) ||
        !RecordingWavePath(DataFolder, name, wave, sizeof wave) || !RecordingMp3Path(wave, mp3, sizeof mp3))
        return ReservationNotRecorded;
    std::string text;
    if (!ReadReservationText(textPath, &text)) return ReservationNotRecorded;

    // The settings are read afresh for every article: a change made meanwhile applies from here.
    int format = Settings.RecordFormat;
    RecordingVoiceArgs args = RecordingArgs(
        Settings.RecordVoice, Settings.RecordVolume, Settings.RecordRate, Settings.RecordPitch, format);
    if (!RenderWaveFile(
            Wide(wave).c_str(), Wide(text.data(), static_cast<int>(text.size())).c_str(), dialog, args))
        return ReservationNotRecorded;
    DeleteFileA(textPath);
    if (!RecordsMp3(format)) return ReservationConverted;
    if (AbortRequest) return ReservationStoppedAsWave;
    if (!RunConverter(converter, wave, mp3) || !HasData(mp3)) return ReservationNotConverted;
    DeleteFileA(wave);
    return ReservationConverted;
}

// The names the dialog's list shows, taken once: later changes to the list do not count.
std::vector<std::string> ReservationNames(HWND dialog) {
    std::vector<std::string> names;
    HWND list = GetDlgItem(dialog, ReservationListId);
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; i++) {
        LRESULT length = SendMessageA(list, LB_GETTEXTLEN, i, 0);
        if (length < 0 || length >= LRESULT(RecordPathCapacity)) continue;
        char name[RecordPathCapacity] = "";
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(name));
        names.emplace_back(name);
    }
    return names;
}

void Count(ReservationOutcome outcome, ConversionTally* tally) {
    if (outcome == ReservationNotRecorded) tally->notRecorded++;
    if (outcome == ReservationNotConverted) tally->notConverted++;
}

}  // namespace

bool RenderWaveFile(const wchar_t* wavePath, const wchar_t* text, HWND owner,
                    const RecordingVoiceArgs& args) {
    std::lock_guard<std::mutex> turn(SpeechLibraryLock);
    if (!RecordingSpeech.RecSAPI) return false;
    FileStamp before = StampOf(wavePath);
    RecordingSpeech.RecSAPI(
        wavePath, text, owner, args.voice, args.volume, args.rate, args.pitch, 0, 0, 0, args.formatCode);
    FileStamp after = StampOf(wavePath);
    bool renewed =
        !before.exists || before.size != after.size || CompareFileTime(&before.written, &after.written) != 0;
    return after.exists && after.size > 0 && renewed;
}

DWORD WINAPI ConvertReservations(LPVOID parameter) {
    HWND dialog = static_cast<HWND>(parameter);
    std::vector<std::string> names = ReservationNames(dialog);
    char converter[RecordPathCapacity];
    if (!ConverterPath(ProgramFolder, converter, sizeof converter)) converter[0] = '\0';

    ConversionTally tally = {static_cast<int>(names.size()), 0, 0};
    WPARAM aborted = 0;
    for (const std::string& name : names) {
        ReservationOutcome outcome = ConvertReservation(dialog, name.c_str(), converter);
        Count(outcome, &tally);
        SendMessageA(dialog, ReservationDoneMessage, outcome, reinterpret_cast<LPARAM>(name.c_str()));
        if (InterlockedExchange(&AbortRequest, 0)) {
            aborted = 1;
            break;
        }
    }
    SendMessageA(dialog, ConversionEndMessage, aborted, reinterpret_cast<LPARAM>(&tally));
    return 0;
}

bool StartConversion(HWND dialog) {
    InterlockedExchange(&AbortRequest, 0);
    HANDLE thread = CreateThread(nullptr, 0, ConvertReservations, dialog, 0, nullptr);
    if (!thread) return false;
    CloseHandle(thread);
    return true;
}
