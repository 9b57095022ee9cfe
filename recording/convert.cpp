#include "recording/convert.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "library/settings.h"
#include "resources/resource.h"
#include "tbspeech/tbspeech.h"
#include "win/codepage.h"
#include "win/handles.h"
#include "win/thread.h"

RecordingSpeechCalls RecordingSpeech = {RecSAPI};
volatile LONG AbortRequest = 0;
ConversionTally LastConversion = {};

namespace {

// A reservation is an article's text; anything beyond this is not one.
constexpr LONGLONG ReservationSizeLimit = 16 * 1024 * 1024;

SRWLOCK SpeechLibraryLock = SRWLOCK_INIT;

std::wstring Wide(const char* text) {
    int units = MultiByteToWideChar(win::ShiftJisCodePage, 0, text, -1, nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring wide(units, L'\0');
    MultiByteToWideChar(win::ShiftJisCodePage, 0, text, -1, &wide[0], units);
    wide.resize(units - 1);  // without the terminating zero
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
    HANDLE opened = CreateFileA(
        path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return false;
    win::KernelHandle file(opened);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > ReservationSizeLimit) return false;
    text->assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!text->empty() &&
        (!ReadFile(file.get(), &(*text)[0], static_cast<DWORD>(text->size()), &read, nullptr) ||
         read != text->size()))
        return false;
    text->resize(strnlen(text->c_str(), text->size()));
    return true;
}

// Starts the converter hidden and waits for it. True when it ran and ended with 0.
bool RunConverter(const char* converter, const char* wave, const char* mp3) {
    char command[ConverterCommandCapacity];
    if (!ConverterCommandLine(converter, wave, mp3, command, sizeof command)) return false;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return false;
    win::KernelHandle process(started.hProcess), thread(started.hThread);
    WaitForSingleObject(process.get(), INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.get(), &exitCode);
    return exitCode == 0;
}

ReservationOutcome ConvertReservation(const ConversionJob& job, const char* name, const char* converter) {
    char textPath[RecordPathCapacity], wave[RecordPathCapacity], mp3[RecordPathCapacity];
    if (!ReservationFilePath(job.dataFolder, name, textPath, sizeof textPath) ||
        !RecordingWavePath(job.dataFolder, name, wave, sizeof wave) ||
        !RecordingMp3Path(wave, mp3, sizeof mp3))
        return ReservationNotRecorded;
    std::string text;
    if (!ReadReservationText(textPath, &text)) return ReservationNotRecorded;

    // The settings are read afresh for every article: a change made meanwhile applies from here.
    int format = Settings.RecordFormat;
    RecordingVoiceArgs args = RecordingArgs(
        Settings.RecordVoice, Settings.RecordVolume, Settings.RecordRate, Settings.RecordPitch, format);
    if (!RenderWaveFile(wave, text.c_str(), job.dialog, args)) return ReservationNotRecorded;
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
    HWND list = GetDlgItem(dialog, IDC_RECORDING_LIST);
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

void Report(HWND dialog, int id, int code) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), 0); }

}  // namespace

bool RenderWaveFile(const char* wavePath, const char* text, HWND owner, const RecordingVoiceArgs& args) {
    std::wstring path = Wide(wavePath), words = Wide(text);
    win::ExclusiveLock turn(SpeechLibraryLock);
    if (!RecordingSpeech.RecSAPI || path.empty()) return false;
    FileStamp before = StampOf(path.c_str());
    RecordingSpeech.RecSAPI(path.c_str(),
                            words.c_str(),
                            owner,
                            args.voice,
                            args.volume,
                            args.rate,
                            args.pitch,
                            0,
                            0,
                            0,
                            args.formatCode);
    FileStamp after = StampOf(path.c_str());
    bool renewed =
        !before.exists || before.size != after.size || CompareFileTime(&before.written, &after.written) != 0;
    return after.exists && after.size > 0 && renewed;
}

void ConvertReservations(ConversionJob& job) {
    std::vector<std::string> names = ReservationNames(job.dialog);
    char converter[RecordPathCapacity];
    if (!ConverterPath(job.programFolder, converter, sizeof converter)) converter[0] = '\0';

    ConversionTally tally = {static_cast<int>(names.size()), 0, 0};
    int aborted = 0;
    for (const std::string& name : names) {
        ReservationOutcome outcome = ConvertReservation(job, name.c_str(), converter);
        if (outcome == ReservationNotRecorded) tally.notRecorded++;
        if (outcome == ReservationNotConverted) tally.notConverted++;
        Report(job.dialog, IDC_RECORDING_ITEM_DONE, outcome);
        if (InterlockedExchange(&AbortRequest, 0)) {
            aborted = 1;
            break;
        }
    }
    LastConversion = tally;
    Report(job.dialog, IDC_RECORDING_FINISHED, aborted);
}

bool StartConversion(HWND dialog, const char* dataFolder, const char* programFolder) {
    auto job = std::make_unique<ConversionJob>();
    job->dialog = dialog;
    if (lstrlenA(dataFolder) >= int(sizeof job->dataFolder) ||
        lstrlenA(programFolder) >= int(sizeof job->programFolder))
        return false;
    lstrcpynA(job->dataFolder, dataFolder, sizeof job->dataFolder);
    lstrcpynA(job->programFolder, programFolder, sizeof job->programFolder);
    InterlockedExchange(&AbortRequest, 0);
    return win::StartWorker(ConvertReservations, std::move(job));
}
