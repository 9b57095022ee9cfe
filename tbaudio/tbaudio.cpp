// The converter program: reads the wave file, feeds its samples through the MP3 encoder
// transform that Media Foundation offers, and writes the encoded frames one after the other
// (an MP3 file is nothing more). The output is written under a temporary name and renamed
// when complete, so that a failure never leaves a partial file at the output path.
#include <windows.h>

#include <mfapi.h>
#include <mferror.h>
#include <mfidl.h>
#include <mftransform.h>
#include <shellapi.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "tbaudio/tbaudio.h"
#include "tbaudio/wavformat.h"

using Microsoft::WRL::ComPtr;

namespace {

// Stereo speech at 128 kbit/s, mono at 64 kbit/s.
constexpr UINT32 StereoBytesPerSecond = 16000;
constexpr UINT32 MonoBytesPerSecond = 8000;
// Samples handed to the encoder per call: eight MP3 frames' worth.
constexpr DWORD FramesPerInput = 1152 * 8;
constexpr DWORD MinimumOutputBuffer = 16384;

struct FileHandle {
    HANDLE h = INVALID_HANDLE_VALUE;
    FileHandle() = default;
    explicit FileHandle(HANDLE handle) : h(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Close(); }
    void Close() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        h = INVALID_HANDLE_VALUE;
    }
    bool Valid() const { return h != INVALID_HANDLE_VALUE; }
};

struct MediaFoundation {
    bool comStarted = false;
    bool mfStarted = false;
    MediaFoundation() {
        comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        mfStarted = comStarted && SUCCEEDED(MFStartup(MF_VERSION, MFSTARTUP_LITE));
    }
    ~MediaFoundation() {
        if (mfStarted) MFShutdown();
        if (comStarted) CoUninitialize();
    }
};

bool ReadExactly(HANDLE file, void* buffer, DWORD size) {
    DWORD got = 0;
    return ReadFile(file, buffer, size, &got, nullptr) && got == size;
}

bool WriteAll(HANDLE file, const BYTE* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

int ReadLayout(HANDLE input, WavPcmLayout* layout) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(input, &size)) return TBAudioBadInput;
    uint64_t fileSize = static_cast<uint64_t>(size.QuadPart);
    std::vector<unsigned char> head(fileSize < WavHeadBytes ? static_cast<size_t>(fileSize) : WavHeadBytes);
    if (head.empty() || !ReadExactly(input, head.data(), static_cast<DWORD>(head.size())))
        return TBAudioBadInput;
    if (ParseWavHeader(head.data(), head.size(), fileSize, layout) != WavCheck::Ok) return TBAudioBadInput;
    if (layout->dataSize == 0) return TBAudioBadInput;  // nothing to encode
    LARGE_INTEGER offset;
    offset.QuadPart = static_cast<LONGLONG>(layout->dataOffset);
    return SetFilePointerEx(input, offset, nullptr, FILE_BEGIN) ? TBAudioDone : TBAudioBadInput;
}

ComPtr<IMFTransform> FindMp3Encoder() {
    MFT_REGISTER_TYPE_INFO input = {MFMediaType_Audio, MFAudioFormat_PCM};
    MFT_REGISTER_TYPE_INFO output = {MFMediaType_Audio, MFAudioFormat_MP3};
    IMFActivate** found = nullptr;
    UINT32 count = 0;
    ComPtr<IMFTransform> encoder;
    HRESULT hr = MFTEnumEx(MFT_CATEGORY_AUDIO_ENCODER,
                           MFT_ENUM_FLAG_SYNCMFT | MFT_ENUM_FLAG_LOCALMFT | MFT_ENUM_FLAG_SORTANDFILTER,
                           &input,
                           &output,
                           &found,
                           &count);
    if (FAILED(hr)) return encoder;
    for (UINT32 i = 0; i < count; i++) {
        if (!encoder) found[i]->ActivateObject(IID_PPV_ARGS(&encoder));
        found[i]->Release();
    }
    CoTaskMemFree(found);
    return encoder;
}

ComPtr<IMFMediaType> AudioType(const GUID& subtype, const WavPcmLayout& layout) {
    ComPtr<IMFMediaType> type;
    if (FAILED(MFCreateMediaType(&type))) return nullptr;
    type->SetGUID(MF_MT_MAJOR_TYPE, MFMediaType_Audio);
    type->SetGUID(MF_MT_SUBTYPE, subtype);
    type->SetUINT32(MF_MT_AUDIO_NUM_CHANNELS, layout.channels);
    type->SetUINT32(MF_MT_AUDIO_SAMPLES_PER_SECOND, layout.sampleRate);
    return type;
}

ComPtr<IMFMediaType> PcmType(const WavPcmLayout& layout) {
    ComPtr<IMFMediaType> type = AudioType(MFAudioFormat_PCM, layout);
    if (!type) return nullptr;
    type->SetUINT32(MF_MT_AUDIO_BITS_PER_SAMPLE, layout.bitsPerSample);
    type->SetUINT32(MF_MT_AUDIO_BLOCK_ALIGNMENT, layout.blockAlign);
    type->SetUINT32(MF_MT_AUDIO_AVG_BYTES_PER_SECOND, layout.blockAlign * layout.sampleRate);
    type->SetUINT32(MF_MT_ALL_SAMPLES_INDEPENDENT, TRUE);
    return type;
}

UINT32 WantedBytesPerSecond(const WavPcmLayout& layout) {
    return layout.channels == 2 ? StereoBytesPerSecond : MonoBytesPerSecond;
}

// The encoder's own offer at our bit rate, or one we describe ourselves.
ComPtr<IMFMediaType> Mp3Type(IMFTransform* encoder, const WavPcmLayout& layout) {
    UINT32 wanted = WantedBytesPerSecond(layout);
    ComPtr<IMFMediaType> offered;
    for (DWORD i = 0; SUCCEEDED(encoder->GetOutputAvailableType(0, i, &offered)); i++) {
        UINT32 rate = 0, channels = 0, bytes = 0;
        offered->GetUINT32(MF_MT_AUDIO_SAMPLES_PER_SECOND, &rate);
        offered->GetUINT32(MF_MT_AUDIO_NUM_CHANNELS, &channels);
        offered->GetUINT32(MF_MT_AUDIO_AVG_BYTES_PER_SECOND, &bytes);
        if (rate == UINT32(layout.sampleRate) && channels == UINT32(layout.channels) && bytes == wanted)
            return offered;
        offered.Reset();
    }
    ComPtr<IMFMediaType> type = AudioType(MFAudioFormat_MP3, layout);
    if (type) type->SetUINT32(MF_MT_AUDIO_AVG_BYTES_PER_SECOND, wanted);
    return type;
}

// Some encoders want the input type first, others the output type; try both orders.
bool ConfigureEncoder(IMFTransform* encoder, const WavPcmLayout& layout) {
    ComPtr<IMFMediaType> pcm = PcmType(layout);
    if (!pcm) return false;
    if (SUCCEEDED(encoder->SetInputType(0, pcm.Get(), 0))) {
        ComPtr<IMFMediaType> mp3 = Mp3Type(encoder, layout);
        return mp3 && SUCCEEDED(encoder->SetOutputType(0, mp3.Get(), 0));
    }
    ComPtr<IMFMediaType> mp3 = Mp3Type(encoder, layout);
    return mp3 && SUCCEEDED(encoder->SetOutputType(0, mp3.Get(), 0)) &&
           SUCCEEDED(encoder->SetInputType(0, pcm.Get(), 0));
}

ComPtr<IMFSample> SampleWithBuffer(DWORD capacity) {
    ComPtr<IMFSample> sample;
    ComPtr<IMFMediaBuffer> buffer;
    if (FAILED(MFCreateSample(&sample)) || FAILED(MFCreateMemoryBuffer(capacity, &buffer)) ||
        FAILED(sample->AddBuffer(buffer.Get())))
        return nullptr;
    return sample;
}

bool WriteSample(IMFSample* sample, HANDLE output) {
    ComPtr<IMFMediaBuffer> buffer;
    if (FAILED(sample->ConvertToContiguousBuffer(&buffer))) return false;
    BYTE* data = nullptr;
    DWORD length = 0;
    if (FAILED(buffer->Lock(&data, nullptr, &length))) return false;
    bool ok = WriteAll(output, data, length);
    buffer->Unlock();
    return ok;
}

// Takes every encoded frame the encoder has ready and appends it to the output.
bool DrainEncoder(IMFTransform* encoder, HANDLE output) {
    MFT_OUTPUT_STREAM_INFO info = {};
    if (FAILED(encoder->GetOutputStreamInfo(0, &info))) return false;
    bool encoderAllocates =
        (info.dwFlags & (MFT_OUTPUT_STREAM_PROVIDES_SAMPLES | MFT_OUTPUT_STREAM_CAN_PROVIDE_SAMPLES)) != 0;
    for (;;) {
        ComPtr<IMFSample> ours;
        if (!encoderAllocates) {
            ours = SampleWithBuffer(info.cbSize > MinimumOutputBuffer ? info.cbSize : MinimumOutputBuffer);
            if (!ours) return false;
        }
        MFT_OUTPUT_DATA_BUFFER out = {};
        out.pSample = ours.Get();
        DWORD status = 0;
        HRESULT hr = encoder->ProcessOutput(0, 1, &out, &status);
        if (out.pEvents) out.pEvents->Release();
        ComPtr<IMFSample> produced;
        if (encoderAllocates)
            produced.Attach(out.pSample);
        else
            produced = ours;
        if (hr == MF_E_TRANSFORM_NEED_MORE_INPUT) return true;
        if (FAILED(hr) || !produced || !WriteSample(produced.Get(), output)) return false;
    }
}

bool FeedEncoder(IMFTransform* encoder, HANDLE input, const WavPcmLayout& layout, HANDLE output) {
    const DWORD chunk = FramesPerInput * layout.blockAlign;
    uint64_t left = layout.dataSize;
    LONGLONG frames = 0;
    while (left > 0) {
        DWORD size = left < chunk ? static_cast<DWORD>(left) : chunk;
        ComPtr<IMFSample> sample = SampleWithBuffer(size);
        ComPtr<IMFMediaBuffer> buffer;
        if (!sample || FAILED(sample->GetBufferByIndex(0, &buffer))) return false;
        BYTE* data = nullptr;
        if (FAILED(buffer->Lock(&data, nullptr, nullptr))) return false;
        bool read = ReadExactly(input, data, size);
        buffer->Unlock();
        if (!read || FAILED(buffer->SetCurrentLength(size))) return false;
        LONGLONG count = size / layout.blockAlign;
        sample->SetSampleTime(frames * 10000000 / layout.sampleRate);
        sample->SetSampleDuration(count * 10000000 / layout.sampleRate);
        frames += count;
        left -= size;

        HRESULT hr = encoder->ProcessInput(0, sample.Get(), 0);
        if (hr == MF_E_NOTACCEPTING) {
            if (!DrainEncoder(encoder, output)) return false;
            hr = encoder->ProcessInput(0, sample.Get(), 0);
        }
        if (FAILED(hr) || !DrainEncoder(encoder, output)) return false;
    }
    encoder->ProcessMessage(MFT_MESSAGE_NOTIFY_END_OF_STREAM, 0);
    encoder->ProcessMessage(MFT_MESSAGE_COMMAND_DRAIN, 0);
    return DrainEncoder(encoder, output);
}

int Encode(IMFTransform* encoder, HANDLE input, const WavPcmLayout& layout, const std::wstring& outputPath) {
    std::wstring partPath = outputPath + L".part";
    FileHandle output(CreateFileW(
        partPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!output.Valid()) return TBAudioWriteFailed;
    encoder->ProcessMessage(MFT_MESSAGE_NOTIFY_BEGIN_STREAMING, 0);
    encoder->ProcessMessage(MFT_MESSAGE_NOTIFY_START_OF_STREAM, 0);
    bool encoded = FeedEncoder(encoder, input, layout, output.h);
    encoder->ProcessMessage(MFT_MESSAGE_NOTIFY_END_STREAMING, 0);
    encoded = FlushFileBuffers(output.h) && encoded;
    output.Close();
    if (encoded && MoveFileExW(partPath.c_str(), outputPath.c_str(), MOVEFILE_REPLACE_EXISTING))
        return TBAudioDone;
    DeleteFileW(partPath.c_str());
    return TBAudioWriteFailed;
}

int Convert(const wchar_t* inputPath, const wchar_t* outputPath) {
    FileHandle input(CreateFileW(inputPath,
                                 GENERIC_READ,
                                 FILE_SHARE_READ,
                                 nullptr,
                                 OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN,
                                 nullptr));
    if (!input.Valid()) return TBAudioBadInput;
    WavPcmLayout layout = {};
    int result = ReadLayout(input.h, &layout);
    if (result != TBAudioDone) return result;

    MediaFoundation platform;
    if (!platform.mfStarted) return TBAudioNoEncoder;
    ComPtr<IMFTransform> encoder = FindMp3Encoder();
    if (!encoder) return TBAudioNoEncoder;
    if (!ConfigureEncoder(encoder.Get(), layout)) return TBAudioEncoderRefused;
    return Encode(encoder.Get(), input.h, layout, outputPath);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    int result = TBAudioUsage;
    if (args && count == 3 && args[1][0] && args[2][0]) result = Convert(args[1], args[2]);
    LocalFree(args);
    return result;
}
