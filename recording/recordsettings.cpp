#include "recording/recordsettings.h"

#include <mmsystem.h>

#include <cstdio>
#include <memory>

#include "library/settings.h"
#include "recording/convert.h"
#include "recording/recordformat.h"
#include "recording/recordpaths.h"
#include "resources/resource.h"
#include "tbspeech/tbspeech.h"
#include "win/dialog.h"
#include "win/thread.h"

volatile LONG VoiceTestRunning = 0;

namespace {

char DialogDataFolder[RecordPathCapacity];  // of the open dialog: the test file goes there

constexpr const char* VoiceTestText = "この音声でニュース録音を行います";

struct VoiceTestJob {
    HWND dialog;
    RecordingVoiceArgs args;
    char path[RecordPathCapacity];  // the test file
};

// Renders the test sentence with the dialog's choices, plays it and removes the file.
void VoiceTest(VoiceTestJob& job) {
    if (RenderWaveFile(job.path, VoiceTestText, job.dialog, job.args)) {
        PlaySoundA(job.path, nullptr, SND_FILENAME | SND_SYNC | SND_NODEFAULT);
        DeleteFileA(job.path);
    }
    InterlockedExchange(&VoiceTestRunning, 0);
}

// The dialog's current choices, not the stored settings.
RecordingVoiceArgs Choices(HWND dialog) {
    return RecordingArgs(win::ComboSelection(dialog, IDC_RECSET_VOICE, Settings.RecordVoice),
                         win::ComboSelection(dialog, IDC_RECSET_VOLUME, Settings.RecordVolume),
                         win::ComboSelection(dialog, IDC_RECSET_RATE, Settings.RecordRate),
                         win::ComboSelection(dialog, IDC_RECSET_PITCH, Settings.RecordPitch),
                         1);  // the wave format
}

void StartVoiceTest(HWND dialog) {
    auto job = std::make_unique<VoiceTestJob>(VoiceTestJob{dialog, Choices(dialog), ""});
    int length = std::snprintf(job->path, sizeof job->path, "%s\\Test.wav", DialogDataFolder);
    if (length <= 0 || length >= int(sizeof job->path)) return;
    if (InterlockedCompareExchange(&VoiceTestRunning, 1, 0) != 0) return;
    if (!win::StartWorker(VoiceTest, std::move(job))) InterlockedExchange(&VoiceTestRunning, 0);
}

const int Checks[] = {IDC_RECSET_TITLE_FIRST};

void OnInit(HWND dialog) {
    HWND voices = GetDlgItem(dialog, IDC_RECSET_VOICE);
    OpenSAPI();
    GetVoiceSAPI(voices);
    CloseSAPI();
    SendMessageA(voices, CB_SETCURSEL, Settings.RecordVoice, 0);
    const char* steps[RecordStepCount];
    for (int i = 0; i < RecordStepCount; i++) steps[i] = RecordStepLabels[i];
    win::FillComboBox(dialog, IDC_RECSET_VOLUME, steps, RecordStepCount, Settings.RecordVolume);
    win::FillComboBox(dialog, IDC_RECSET_RATE, steps, RecordStepCount, Settings.RecordRate);
    win::FillComboBox(dialog, IDC_RECSET_PITCH, steps, RecordStepCount, Settings.RecordPitch);
    // The stored values, as another copy of the program may have written them.
    int32_t titleFirst = 1, format = 0;
    const SettingRead stored[] = {
        {"Opetion13", &titleFirst},
        {"Opetion14", &format    }
    };
    ReadSettings(stored, 2);
    win::SetCheck(dialog, IDC_RECSET_TITLE_FIRST, titleFirst == 1);
    const char* formats[RecordFormatCount] = {RecordFormatLabels[0], RecordFormatLabels[1]};
    win::FillComboBox(dialog, IDC_RECSET_FORMAT, formats, RecordFormatCount, format);
}

bool OnOk(HWND dialog) {
    const SettingChange changes[] = {
        {&SettingsRecord::RecordVoice,      win::ComboSelection(dialog, IDC_RECSET_VOICE,                Settings.RecordVoice) },
        {&SettingsRecord::RecordVolume,
         win::ComboSelection(dialog,                                    IDC_RECSET_VOLUME,               Settings.RecordVolume)},
        {&SettingsRecord::RecordRate,       win::ComboSelection(dialog, IDC_RECSET_RATE,                 Settings.RecordRate)  },
        {&SettingsRecord::RecordPitch,      win::ComboSelection(dialog, IDC_RECSET_PITCH,                Settings.RecordPitch) },
        {&SettingsRecord::RecordTitleFirst, win::IsChecked(dialog,      IDC_RECSET_TITLE_FIRST) ? 1 : 0},
        {&SettingsRecord::RecordFormat,
         win::ComboSelection(dialog,                 IDC_RECSET_FORMAT,          Settings.RecordFormat)                      },
    };
    StoreSettings(changes, 6);
    return true;
}

bool OnCommand(HWND dialog, int id, int code) {
    if (id != IDC_RECSET_TEST || code != BN_CLICKED) return false;
    StartVoiceTest(dialog);
    return true;
}

const win::DialogSpec Spec = {IDD_RECORDING_SETTINGS, Checks, 1, OnInit, OnOk, OnCommand};

}  // namespace

void RunRecordingSettings(HWND owner, const char* dataFolder) {
    lstrcpynA(DialogDataFolder, dataFolder, sizeof DialogDataFolder);
    win::RunModalDialog(owner, Spec);
}
