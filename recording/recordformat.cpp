#include "recording/recordformat.h"

const char RecordStepLabels[RecordStepCount][RecordStepLabelSize] = {
    "0%",  "5%",  "10%", "15%", "20%", "25%", "30%", "35%", "40%", "45%", "50%",
    "55%", "60%", "65%", "70%", "75%", "80%", "85%", "90%", "95%", "100%"};

const char RecordFormatLabels[RecordFormatCount][RecordFormatLabelSize] = {"MP3ファイル", "Waveファイル"};

namespace {

int Step(int step) { return step < 0 ? 0 : step >= RecordStepCount ? RecordStepCount - 1 : step; }

}  // namespace

RecordingVoiceArgs RecordingArgs(int voice, int volumeStep, int rateStep, int pitchStep, int recordFormat) {
    RecordingVoiceArgs args;
    args.voice = voice < 0 ? 0 : voice;
    args.volume = 5 * Step(volumeStep);
    args.rate = Step(rateStep) - 10;
    args.pitch = Step(pitchStep) - 10;
    args.formatCode = RecordsMp3(recordFormat) ? Mp3SourceFormatCode : WaveFormatCode;
    return args;
}
