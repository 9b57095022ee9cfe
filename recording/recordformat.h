// The recording voice settings as the settings dialog shows them and as the speech library
// takes them.
#pragma once

constexpr int RecordStepCount = 21;
constexpr int RecordStepLabelSize = 5;
constexpr int RecordFormatCount = 2;
constexpr int RecordFormatLabelSize = 64;

// "0%" to "100%" in steps of five: the labels of the volume, speed and pitch lists.
extern const char RecordStepLabels[RecordStepCount][RecordStepLabelSize];
// "MP3ファイル" (0) and "Waveファイル" (1).
extern const char RecordFormatLabels[RecordFormatCount][RecordFormatLabelSize];

// The speech library's format codes: 44,100 Hz 16-bit stereo for the converter, 16,000 Hz
// 16-bit mono when the wave file is the result.
constexpr int Mp3SourceFormatCode = 24;
constexpr int WaveFormatCode = 11;

struct RecordingVoiceArgs {
    int voice;
    int volume;  // 0 to 100
    int rate;    // -10 to 10
    int pitch;   // -10 to 10
    int formatCode;
};

// The speech library's arguments from the stored settings (or the dialog's choices). Steps
// outside 0 to 20 and a negative voice, as a damaged registry value may hold, are taken as the
// nearest valid one.
RecordingVoiceArgs RecordingArgs(int voice, int volumeStep, int rateStep, int pitchStep, int recordFormat);

// Format 0 is MP3: the wave file goes through the converter. Any other value keeps the wave.
inline bool RecordsMp3(int recordFormat) { return recordFormat == 0; }
