// A stand-in for SAPI's voice (SpVoice) and file stream (SpStream), for the machines where the
// platform's SAPI cannot speak (Wine). A test registers this library as the COM server of the
// two classes; every call that matters is written to the transcript (engine "sapi"), and a
// stream bound to a file becomes a real WAV file: a tone of 40 ms per character spoken, its
// loudness following the voice's volume.
#include <windows.h>
#include <sapi.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "transcript.h"

namespace {

const GUID kWaveFormatExId = {
    0xC31ADBAE, 0x527F, 0x4ff5, {0xA2, 0x30, 0xF6, 0x2B, 0xB6, 0x1F, 0xF7, 0x0C}
};
LONG LiveObjects = 0;

void Log(const char* call, const wchar_t* text, const char* detail) {
    TranscriptWrite("sapi", call, text, detail);
}

// Reference counting and interface lookup of both stand-ins; Interface is the SAPI interface
// the object implements, Answers says which interface ids it hands it out for.
template <typename Interface>
class StandIn : public Interface {
  public:
    StandIn() { InterlockedIncrement(&LiveObjects); }
    virtual ~StandIn() { InterlockedDecrement(&LiveObjects); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!Answers(riid)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return left;
    }

  protected:
    virtual bool Answers(REFIID riid) const = 0;

  private:
    LONG references_ = 1;
};

class StandInStream : public StandIn<ISpStream> {
  public:
    ~StandInStream() override { CloseFile(); }

  protected:
    bool Answers(REFIID riid) const override {
        return riid == IID_IUnknown || riid == IID_ISequentialStream || riid == IID_IStream ||
               riid == IID_ISpStreamFormat || riid == IID_ISpStream;
    }

  public:
    // ISequentialStream, IStream: the voice writes its samples here.
    HRESULT STDMETHODCALLTYPE Read(void*, ULONG, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Write(const void* data, ULONG size, ULONG* written) override {
        if (file_ == INVALID_HANDLE_VALUE) return E_UNEXPECTED;
        const BYTE* bytes = static_cast<const BYTE*>(data);
        samples_.insert(samples_.end(), bytes, bytes + size);
        if (written) *written = size;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

    // ISpStreamFormat
    HRESULT STDMETHODCALLTYPE GetFormat(GUID* id, WAVEFORMATEX** format) override {
        if (file_ == INVALID_HANDLE_VALUE) return E_UNEXPECTED;
        *id = kWaveFormatExId;
        *format = static_cast<WAVEFORMATEX*>(CoTaskMemAlloc(sizeof(WAVEFORMATEX)));
        if (!*format) return E_OUTOFMEMORY;
        **format = format_;
        return S_OK;
    }

    // ISpStream
    HRESULT STDMETHODCALLTYPE SetBaseStream(IStream*, REFGUID, const WAVEFORMATEX*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetBaseStream(IStream**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BindToFile(LPCWSTR path, SPFILEMODE mode, const GUID* id,
                                         const WAVEFORMATEX* format, ULONGLONG events) override {
        char detail[256];
        snprintf(detail,
                 sizeof detail,
                 "mode=%d id=%s tag=%u channels=%u rate=%lu avg=%lu align=%u bits=%u extra=%u events=%llx",
                 static_cast<int>(mode),
                 id && *id == kWaveFormatExId ? "WaveFormatEx" : "other",
                 format ? format->wFormatTag : 0,
                 format ? format->nChannels : 0,
                 format ? format->nSamplesPerSec : 0,
                 format ? format->nAvgBytesPerSec : 0,
                 format ? format->nBlockAlign : 0,
                 format ? format->wBitsPerSample : 0,
                 format ? format->cbSize : 0,
                 static_cast<unsigned long long>(events));
        Log("BindToFile", path, detail);
        if (!path || !format || file_ != INVALID_HANDLE_VALUE) return E_INVALIDARG;
        file_ = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file_ == INVALID_HANDLE_VALUE) return HRESULT_FROM_WIN32(GetLastError());
        format_ = *format;
        samples_.clear();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Close() override {
        Log("Close", nullptr, nullptr);
        if (file_ == INVALID_HANDLE_VALUE) return E_UNEXPECTED;
        CloseFile();
        return S_OK;
    }

  private:
    void Put(const void* data, DWORD size) {
        DWORD written = 0;
        WriteFile(file_, data, size, &written, nullptr);
    }
    void PutU32(DWORD value) { Put(&value, 4); }

    void CloseFile() {
        if (file_ == INVALID_HANDLE_VALUE) return;
        DWORD dataSize = static_cast<DWORD>(samples_.size());
        Put("RIFF", 4);
        PutU32(36 + dataSize);
        Put("WAVEfmt ", 8);
        PutU32(16);
        Put(&format_, 16);
        Put("data", 4);
        PutU32(dataSize);
        if (dataSize) Put(samples_.data(), dataSize);
        CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }

    HANDLE file_ = INVALID_HANDLE_VALUE;
    WAVEFORMATEX format_ = {};
    std::vector<BYTE> samples_;
};

class StandInVoice : public StandIn<ISpVoice> {
  public:
    ~StandInVoice() override {
        if (output_) output_->Release();
    }

  protected:
    bool Answers(REFIID riid) const override {
        return riid == IID_IUnknown || riid == IID_ISpNotifySource || riid == IID_ISpEventSource ||
               riid == IID_ISpVoice;
    }

  public:
    // ISpNotifySource, ISpEventSource: not used by the library.
    HRESULT STDMETHODCALLTYPE SetNotifySink(ISpNotifySink*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetNotifyWindowMessage(HWND, UINT, WPARAM, LPARAM) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetNotifyCallbackFunction(SPNOTIFYCALLBACK*, WPARAM, LPARAM) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetNotifyCallbackInterface(ISpNotifyCallback*, WPARAM, LPARAM) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetNotifyWin32Event() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WaitForNotifyEvent(DWORD) override { return E_NOTIMPL; }
    HANDLE STDMETHODCALLTYPE GetNotifyEventHandle() override { return nullptr; }
    HRESULT STDMETHODCALLTYPE SetInterest(ULONGLONG, ULONGLONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetEvents(ULONG, SPEVENT*, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetInfo(SPEVENTSOURCEINFO*) override { return E_NOTIMPL; }

    // ISpVoice
    HRESULT STDMETHODCALLTYPE SetOutput(IUnknown* unit, BOOL allowFormatChanges) override {
        char detail[64];
        snprintf(detail,
                 sizeof detail,
                 "stream=%d allowFormatChanges=%d",
                 unit ? 1 : 0,
                 allowFormatChanges ? 1 : 0);
        Log("SetOutput", nullptr, detail);
        ISpStreamFormat* output = nullptr;
        if (unit && FAILED(unit->QueryInterface(IID_ISpStreamFormat, reinterpret_cast<void**>(&output))))
            return E_INVALIDARG;
        if (output_) output_->Release();
        output_ = output;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetOutputObjectToken(ISpObjectToken**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetOutputStream(ISpStreamFormat**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Pause() override {
        Log("Pause", nullptr, nullptr);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Resume() override {
        Log("Resume", nullptr, nullptr);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetVoice(ISpObjectToken* token) override {
        wchar_t* id = nullptr;
        if (token) token->GetId(&id);
        Log("SetVoice", id, token ? nullptr : "default");
        CoTaskMemFree(id);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetVoice(ISpObjectToken**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Speak(LPCWSTR text, DWORD flags, ULONG* number) override {
        char detail[32];
        snprintf(detail, sizeof detail, "flags=%lu", static_cast<unsigned long>(flags));
        Log("Speak", text, detail);
        if (number) *number = 0;
        if (output_ && text) WriteTone(wcslen(text));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SpeakStream(IStream*, DWORD, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetStatus(SPVOICESTATUS*, LPWSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Skip(LPCWSTR, LONG, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPriority(SPVPRIORITY) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPriority(SPVPRIORITY*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetAlertBoundary(SPEVENTENUM) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAlertBoundary(SPEVENTENUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetRate(LONG rate) override {
        char detail[16];
        snprintf(detail, sizeof detail, "%ld", static_cast<long>(rate));
        Log("SetRate", nullptr, detail);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetRate(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetVolume(USHORT volume) override {
        char detail[16];
        snprintf(detail, sizeof detail, "%u", volume);
        Log("SetVolume", nullptr, detail);
        volume_ = volume;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetVolume(USHORT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE WaitUntilDone(ULONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetSyncSpeakTimeout(ULONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSyncSpeakTimeout(ULONG*) override { return E_NOTIMPL; }
    HANDLE STDMETHODCALLTYPE SpeakCompleteEvent() override { return nullptr; }
    HRESULT STDMETHODCALLTYPE IsUISupported(LPCWSTR, void*, ULONG, BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DisplayUI(HWND, LPCWSTR, LPCWSTR, void*, ULONG) override { return E_NOTIMPL; }

  private:
    // 40 ms of a 440 Hz tone per character, in the output's format, then a moment's pause so
    // that a second rendering running at the same time would show in the transcript.
    void WriteTone(size_t characters) {
        GUID id;
        WAVEFORMATEX* format = nullptr;
        if (FAILED(output_->GetFormat(&id, &format)) || !format) return;
        IStream* stream = nullptr;
        if (SUCCEEDED(output_->QueryInterface(IID_IStream, reinterpret_cast<void**>(&stream)))) {
            size_t frames = characters * format->nSamplesPerSec / 25;
            double amplitude = volume_ / 100.0 * (format->wBitsPerSample == 8 ? 100 : 20000);
            std::vector<BYTE> data;
            for (size_t i = 0; i < frames; i++) {
                double value = amplitude * sin(2 * 3.14159265358979 * 440 * i / format->nSamplesPerSec);
                for (int c = 0; c < format->nChannels; c++) {
                    if (format->wBitsPerSample == 8) {
                        data.push_back(static_cast<BYTE>(128 + lround(value)));
                    } else {
                        short sample = static_cast<short>(lround(value));
                        data.push_back(static_cast<BYTE>(sample & 0xFF));
                        data.push_back(static_cast<BYTE>((sample >> 8) & 0xFF));
                    }
                }
            }
            ULONG written = 0;
            if (!data.empty()) stream->Write(data.data(), static_cast<ULONG>(data.size()), &written);
            stream->Release();
        }
        CoTaskMemFree(format);
        Sleep(30);
    }

    USHORT volume_ = 100;
    ISpStreamFormat* output_ = nullptr;
};

template <typename T>
class Factory : public IClassFactory {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        T* object = new T();
        HRESULT result = object->QueryInterface(riid, out);
        object->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory<StandInVoice> VoiceFactory;
Factory<StandInStream> StreamFactory;

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
    if (clsid == CLSID_SpVoice) return VoiceFactory.QueryInterface(riid, out);
    if (clsid == CLSID_SpStream) return StreamFactory.QueryInterface(riid, out);
    *out = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return LiveObjects == 0 ? S_OK : S_FALSE; }
