// The nine exports of TBSpeech.dll. The playback voice lives from OpenSAPI to CloseSAPI; a
// rendering creates its own voice and file stream and releases them before it returns. Each
// of the two has a lock, so that a rendering started on one thread never meets another's
// half-built voice or stream.
#include "tbspeech/tbspeech.h"

#include "tbspeech/sapi_args.h"
#include "tbspeech/voices.h"
#include "win/handles.h"

namespace {

// SAPI's format identifier of a stream described by a WAVEFORMATEX (SPDFID_WaveFormatEx).
const GUID kWaveFormatExId = {
    0xC31ADBAE, 0x527F, 0x4ff5, {0xA2, 0x30, 0xF6, 0x2B, 0xB6, 0x1F, 0xF7, 0x0C}
};
// SPFEI_ALL_EVENTS
const ULONGLONG kAllEvents = 0xEFFFFFFFFFFFFFFFULL;

SRWLOCK PlaybackLock = SRWLOCK_INIT;
ISpVoice* PlaybackVoice = nullptr;
bool PlaybackOwnsCom = false;

SRWLOCK RecordingLock = SRWLOCK_INIT;
RecordingFormat LastRecordingFormat;
bool RecordingFormatKnown = false;

ComPtr<ISpVoice> CreateVoice() {
    ComPtr<ISpVoice> voice;
    CoCreateInstance(
        CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice, reinterpret_cast<void**>(voice.GetAddressOf()));
    return voice;
}

// Voice, volume, rate, and the middle pitch for everything said afterwards. An index without a
// voice leaves SAPI's default voice.
void ConfigureVoice(ISpVoice* voice, int voiceIndex, int volume, int rate, int pitch) {
    ComPtr<ISpObjectToken> token = VoiceTokenAt(voiceIndex);
    if (token) voice->SetVoice(token.Get());
    voice->SetVolume(static_cast<USHORT>(volume));
    voice->SetRate(rate);
    wchar_t markup[64];
    PitchMarkup(pitch, markup, 64);
    voice->Speak(markup, PitchSpeakFlags, nullptr);
}

WAVEFORMATEX WaveFormat(const RecordingFormat& format) {
    WAVEFORMATEX wave = {};
    wave.wFormatTag = WAVE_FORMAT_PCM;
    wave.nChannels = format.channels;
    wave.nSamplesPerSec = format.samplesPerSecond;
    wave.nAvgBytesPerSec = format.averageBytesPerSecond;
    wave.nBlockAlign = format.blockAlign;
    wave.wBitsPerSample = format.bitsPerSample;
    wave.cbSize = 0;
    return wave;
}

ComPtr<ISpStream> CreateWaveFile(const wchar_t* wavPath, const RecordingFormat& format) {
    ComPtr<ISpStream> stream;
    if (FAILED(CoCreateInstance(CLSID_SpStream,
                                nullptr,
                                CLSCTX_ALL,
                                IID_ISpStream,
                                reinterpret_cast<void**>(stream.GetAddressOf()))))
        return nullptr;
    WAVEFORMATEX wave = WaveFormat(format);
    if (FAILED(stream->BindToFile(wavPath, SPFM_CREATE_ALWAYS, &kWaveFormatExId, &wave, kAllEvents)))
        return nullptr;
    return stream;
}

// Speaks text into a new WAV file. Nothing is spoken when the file cannot be made: the text
// must never go to the loudspeaker instead.
void Render(const wchar_t* wavPath, const wchar_t* text, int voiceIndex, int volume, int rate, int pitch,
            int isFileName, int isXml, const RecordingFormat& format) {
    win::ComApartment com;
    ComPtr<ISpVoice> voice = CreateVoice();
    if (!voice) return;
    ConfigureVoice(voice.Get(), voiceIndex, volume, rate, pitch);
    ComPtr<ISpStream> stream = CreateWaveFile(wavPath, format);
    if (!stream) return;
    if (SUCCEEDED(voice->SetOutput(stream.Get(), TRUE)))
        voice->Speak(text, RecordSpeakFlags(isFileName, isXml), nullptr);
    stream->Close();
}

}  // namespace

int __cdecl OpenSAPI() {
    win::ExclusiveLock hold(PlaybackLock);
    if (PlaybackVoice) return 1;
    PlaybackOwnsCom = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    PlaybackVoice = CreateVoice().Detach();
    return 1;
}

int __cdecl CloseSAPI() {
    win::ExclusiveLock hold(PlaybackLock);
    if (PlaybackVoice) PlaybackVoice->Release();
    PlaybackVoice = nullptr;
    if (PlaybackOwnsCom) CoUninitialize();
    PlaybackOwnsCom = false;
    return 1;
}

int __cdecl GetVoiceSAPI(HWND comboBox) {
    if (IsWindow(comboBox)) FillVoiceComboBox(comboBox);
    return 1;
}

int __cdecl SetSAPI(HWND, int voiceIndex, int volume, int rate, int pitch) {
    win::ExclusiveLock hold(PlaybackLock);
    if (PlaybackVoice) ConfigureVoice(PlaybackVoice, voiceIndex, volume, rate, pitch);
    return 1;
}

int __cdecl PlaySAPI(const wchar_t* text, int isFileName, int synchronous, int isXml) {
    win::ExclusiveLock hold(PlaybackLock);
    if (PlaybackVoice) PlaybackVoice->Speak(text, PlaySpeakFlags(isFileName, synchronous, isXml), nullptr);
    return 1;
}

int __cdecl PauseSAPI() {
    win::ExclusiveLock hold(PlaybackLock);
    if (PlaybackVoice) PlaybackVoice->Pause();
    return 1;
}

int __cdecl ResumeSAPI() {
    win::ExclusiveLock hold(PlaybackLock);
    if (PlaybackVoice) PlaybackVoice->Resume();
    return 1;
}

int __cdecl StopSAPI() {
    win::ExclusiveLock hold(PlaybackLock);
    if (PlaybackVoice) PlaybackVoice->Speak(nullptr, SpeakPurgeBeforeSpeak, nullptr);
    return 1;
}

int __cdecl RecSAPI(const wchar_t* wavPath, const wchar_t* text, HWND, int voiceIndex, int volume, int rate,
                    int pitch, int isFileName, int isXml, int closeOnly, int formatCode) {
    // Each rendering closes its own stream, so there is never one left over to close.
    if (closeOnly == 1) return 1;
    win::ExclusiveLock hold(RecordingLock);
    if (RecordingFormatForCode(formatCode, &LastRecordingFormat)) RecordingFormatKnown = true;
    if (RecordingFormatKnown && wavPath && wavPath[0])
        Render(wavPath, text, voiceIndex, volume, rate, pitch, isFileName, isXml, LastRecordingFormat);
    return 1;
}
