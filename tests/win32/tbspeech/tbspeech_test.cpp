// TBSpeech.dll as the program calls it (linked at load time) and loaded at run time: every
// export in the documented order and in hostile ones, the voice list from Wine's own SAPI,
// and the renderings against a stand-in SAPI registered as the COM server of SAPI's voice and
// file stream (Wine's voice cannot speak, nor its stream bind a file).
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tbspeech/tbspeech.h"

namespace {

const wchar_t kVoiceClass[] = L"CLSID\\{96749377-3391-11D2-9EE3-00C04F797396}\\InprocServer32";
const wchar_t kStreamClass[] = L"CLSID\\{715D9C59-4442-11D2-9605-00C04F8EE628}\\InprocServer32";
const wchar_t kWineSapi[] = L"C:\\windows\\system32\\Speech\\Common\\sapi.dll";
const wchar_t kTokens[] = L"SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens";

std::wstring Widen(const std::string& text) {
    int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &out[0], n);
    return out;
}

std::wstring TempPath(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"tbspeech_" + std::to_wstring(GetCurrentProcessId()) + L"_" + name;
}

// A temporary file name whose file does not exist (Wine reuses process ids between runs).
std::wstring FreshPath(const std::wstring& name) {
    std::wstring path = TempPath(name);
    DeleteFileW(path.c_str());
    return path;
}

std::wstring DoublesFolder() {
    const char* value = getenv("TAVLO_DOUBLES");
    std::string path = value ? value : "";
    for (char& c : path)
        if (c == '/') c = '\\';
    return path.empty() ? std::wstring() : L"Z:" + Widen(path);
}

std::wstring ComboText(HWND combo, int item) {
    wchar_t text[300] = L"";
    if (SendMessageW(combo, CB_GETLBTEXTLEN, item, 0) < 300)
        SendMessageW(combo, CB_GETLBTEXT, item, (LPARAM)text);
    return text;
}

// A top-level window that owns the combo boxes and is the owner passed to the library.
class Owner {
  public:
    Owner() {
        window_ = CreateWindowExW(
            0, L"STATIC", L"owner", WS_OVERLAPPED, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    }
    ~Owner() { DestroyWindow(window_); }
    HWND window() const { return window_; }
    HWND NewCombo() {
        return CreateWindowExW(0,
                               L"COMBOBOX",
                               L"",
                               WS_CHILD | CBS_DROPDOWNLIST,
                               0,
                               0,
                               100,
                               200,
                               window_,
                               nullptr,
                               nullptr,
                               nullptr);
    }

  private:
    HWND window_;
};

// The nine exports, either the ones linked at load time or those of a module loaded by path.
struct Exports {
    decltype(&OpenSAPI) open = OpenSAPI;
    decltype(&CloseSAPI) close = CloseSAPI;
    decltype(&GetVoiceSAPI) getVoice = GetVoiceSAPI;
    decltype(&SetSAPI) set = SetSAPI;
    decltype(&PlaySAPI) play = PlaySAPI;
    decltype(&PauseSAPI) pause = PauseSAPI;
    decltype(&ResumeSAPI) resume = ResumeSAPI;
    decltype(&StopSAPI) stop = StopSAPI;
    decltype(&RecSAPI) rec = RecSAPI;
};

template <typename F>
bool Find(HMODULE module, const char* name, F* function) {
    *function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return *function != nullptr;
}

bool LoadExports(HMODULE module, Exports* e) {
    return Find(module, "OpenSAPI", &e->open) && Find(module, "CloseSAPI", &e->close) &&
           Find(module, "GetVoiceSAPI", &e->getVoice) && Find(module, "SetSAPI", &e->set) &&
           Find(module, "PlaySAPI", &e->play) && Find(module, "PauseSAPI", &e->pause) &&
           Find(module, "ResumeSAPI", &e->resume) && Find(module, "StopSAPI", &e->stop) &&
           Find(module, "RecSAPI", &e->rec);
}

// A private copy of TBSpeech.dll, so that its state starts fresh (no format chosen yet).
HMODULE LoadFreshCopy(const std::wstring& name) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(GetModuleHandleW(L"TBSpeech.dll"), self, MAX_PATH);
    std::wstring copy = TempPath(name);
    if (!CopyFileW(self, copy.c_str(), FALSE)) return nullptr;
    return LoadLibraryW(copy.c_str());
}

// Calls every export as the program and a live speaker would, then in orders nobody should
// use; every call must return 1 and none may crash.
void CallEveryOrder(const Exports& e, HWND owner, HWND combo, const std::wstring& wav) {
    EXPECT_EQ(1, e.open());
    EXPECT_EQ(1, e.getVoice(combo));
    EXPECT_EQ(1, e.set(owner, 0, 50, 0, 0));
    EXPECT_EQ(1, e.play(L"テストです", 0, 0, 0));
    EXPECT_EQ(1, e.pause());
    EXPECT_EQ(1, e.resume());
    EXPECT_EQ(1, e.stop());
    EXPECT_EQ(1, e.close());
    EXPECT_EQ(1, e.rec(wav.c_str(), L"録音のテスト", owner, 0, 100, 0, 0, 0, 0, 0, 11));
    EXPECT_EQ(1, e.rec(nullptr, nullptr, nullptr, 0, 0, 0, 0, 0, 0, 1, 0));

    // Hostile: closing first and twice, playback without a voice, opening twice, nonsense
    // arguments, null texts and windows.
    EXPECT_EQ(1, e.close());
    EXPECT_EQ(1, e.close());
    EXPECT_EQ(1, e.set(owner, 0, 50, 0, 0));
    EXPECT_EQ(1, e.play(L"x", 0, 1, 0));
    EXPECT_EQ(1, e.pause());
    EXPECT_EQ(1, e.resume());
    EXPECT_EQ(1, e.stop());
    EXPECT_EQ(1, e.getVoice(nullptr));
    EXPECT_EQ(1, e.open());
    EXPECT_EQ(1, e.open());
    EXPECT_EQ(1, e.set(nullptr, -1, -5, 99, 1000));
    EXPECT_EQ(1, e.set(owner, 100000, 101, -11, -11));
    EXPECT_EQ(1, e.play(nullptr, 0, 0, 1));
    EXPECT_EQ(1, e.play(L"Z:\\no\\such\\file.txt", 1, 1, 0));
    EXPECT_EQ(1, e.getVoice(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234))));
    EXPECT_EQ(1, e.rec(wav.c_str(), nullptr, owner, -1, 50, 0, 0, 0, 0, 0, 99));
    EXPECT_EQ(1, e.rec(L"", L"x", owner, 0, 50, 0, 0, 0, 0, 0, 24));
    EXPECT_EQ(1, e.rec(nullptr, L"x", owner, 0, 50, 0, 0, 1, 1, 0, -7));
    EXPECT_EQ(1, e.resume());
    EXPECT_EQ(1, e.close());
    EXPECT_EQ(1, e.stop());
    EXPECT_EQ(1, e.close());
}

struct Call {
    std::string name, text, detail;
};

std::vector<Call> ReadTranscript(const std::wstring& path) {
    std::vector<Call> calls;
    std::ifstream in(path.c_str());
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::stringstream fields(line);
        std::string field;
        while (std::getline(fields, field, '\t')) f.push_back(field);
        f.resize(5);
        if (f[1] == "sapi") calls.push_back({f[2], f[3], f[4]});
    }
    return calls;
}

std::string Narrow(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    std::string escaped;
    for (char c : out) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return escaped;
}

std::string Summary(const std::vector<Call>& calls) {
    std::string out;
    for (const Call& c : calls) out += c.name + "|" + c.text + "|" + c.detail + "\n";
    return out;
}

struct Wave {
    bool riff = false;
    WAVEFORMATEX format = {};
    std::vector<unsigned char> data;
};

Wave ReadWave(const std::wstring& path) {
    Wave wave;
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return wave;
    std::vector<unsigned char> bytes(GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    auto u32 = [&](size_t at) {
        return DWORD(bytes[at]) | DWORD(bytes[at + 1]) << 8 | DWORD(bytes[at + 2]) << 16 |
               DWORD(bytes[at + 3]) << 24;
    };
    if (read < 44 || memcmp(&bytes[0], "RIFF", 4) || memcmp(&bytes[8], "WAVEfmt ", 8) || u32(4) != read - 8 ||
        u32(16) != 16 || memcmp(&bytes[36], "data", 4) || u32(40) != read - 44)
        return wave;
    wave.riff = true;
    memcpy(&wave.format, &bytes[20], 16);
    wave.data.assign(bytes.begin() + 44, bytes.end());
    return wave;
}

bool HasSound(const Wave& wave) {
    for (unsigned char b : wave.data)
        if (b != 0 && b != 128) return true;
    return false;
}

void SetServer(const wchar_t* key, const std::wstring& path) {
    HKEY k;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr));
    RegSetValueExW(k,
                   nullptr,
                   0,
                   REG_SZ,
                   reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
}

// Wine's own SAPI: it lists its voices but cannot speak; the calls must all be survived.
class WineSapiTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetServer(kVoiceClass, kWineSapi);
        SetServer(kStreamClass, kWineSapi);
        SetEnvironmentVariableW(L"TAVLO_TRANSCRIPT", nullptr);
    }
    Owner owner_;
};

TEST_F(WineSapiTest, VoiceListHoldsEveryInstalledVoiceInOrder) {
    std::wstring keys[] = {std::wstring(kTokens) + L"\\TavloTestVoice1",
                           std::wstring(kTokens) + L"\\TavloTestVoice2"};
    for (const std::wstring& key : keys) {
        HKEY k;
        ASSERT_EQ(
            ERROR_SUCCESS,
            RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr));
        RegCloseKey(k);
    }
    HWND combo = owner_.NewCombo();
    OpenSAPI();
    GetVoiceSAPI(combo);
    CloseSAPI();
    for (const std::wstring& key : keys) RegDeleteKeyW(HKEY_LOCAL_MACHINE, key.c_str());

    // Wine's tokens have neither descriptions nor values: the identifier names the voice.
    ASSERT_EQ(3, SendMessageW(combo, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(L"TavloTestVoice1", ComboText(combo, 0));
    EXPECT_EQ(L"TavloTestVoice2", ComboText(combo, 1));
    EXPECT_EQ(L"Wine Default Voice", ComboText(combo, 2));
    for (int i = 0; i < 3; i++) EXPECT_EQ(i, SendMessageW(combo, CB_GETITEMDATA, i, 0));
    EXPECT_EQ(0, SendMessageW(combo, CB_GETCURSEL, 0, 0));

    // A combo box that cannot take the voices is left as it is.
    HWND full = owner_.NewCombo();
    DestroyWindow(full);
    OpenSAPI();
    EXPECT_EQ(1, GetVoiceSAPI(full));
    CloseSAPI();
}

TEST_F(WineSapiTest, EveryExportInEveryOrderLinkedAndLoaded) {
    std::wstring wav = FreshPath(L"wine.wav");
    HWND combo = owner_.NewCombo();
    {
        SCOPED_TRACE("linked at load time");
        CallEveryOrder(Exports(), owner_.window(), combo, wav);
    }
    for (int round = 0; round < 2; round++) {
        SCOPED_TRACE("loaded at run time");
        HMODULE module = LoadFreshCopy(L"TBSpeechLoaded.dll");
        ASSERT_NE(nullptr, module);
        Exports loaded;
        ASSERT_TRUE(LoadExports(module, &loaded));
        CallEveryOrder(loaded, owner_.window(), combo, wav);
        EXPECT_TRUE(FreeLibrary(module));
    }
    // Wine's stream binds no file, so nothing may have been written.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(wav.c_str()));
}

// The stand-in SAPI in place of the platform's voice and stream.
class StandInSapiTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::wstring folder = DoublesFolder();
        ASSERT_FALSE(folder.empty()) << "TAVLO_DOUBLES names the folder of sapi_double.dll";
        SetServer(kVoiceClass, folder + L"\\sapi_double.dll");
        SetServer(kStreamClass, folder + L"\\sapi_double.dll");
        transcript_ = TempPath(std::to_wstring(counter_++) + L"_transcript.txt");
        DeleteFileW(transcript_.c_str());
        SetEnvironmentVariableW(L"TAVLO_TRANSCRIPT", transcript_.c_str());
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"TAVLO_TRANSCRIPT", nullptr);
        SetServer(kVoiceClass, kWineSapi);
        SetServer(kStreamClass, kWineSapi);
    }
    std::vector<Call> Calls() { return ReadTranscript(transcript_); }

    static int counter_;
    std::wstring transcript_;
    Owner owner_;
};
int StandInSapiTest::counter_ = 0;

TEST_F(StandInSapiTest, RenderingHandsOverVoiceVolumeRatePitchTextAndFormat) {
    std::wstring wav = FreshPath(L"news.wav");
    RecSAPI(wav.c_str(), L"今日のニュース", owner_.window(), 0, 50, -3, 5, 0, 0, 0, 11);
    std::string bind =
        "mode=3 id=WaveFormatEx tag=1 channels=1 rate=16000 avg=32000 align=2 bits=16 extra=0 "
        "events=efffffffffffffff";
    EXPECT_EQ(
        "SetVoice|Wine Default Voice|\n"
        "SetVolume||50\n"
        "SetRate||-3\n"
        "Speak|<pitch middle=\"5\"/>|flags=40\n"
        "BindToFile|" +
            Narrow(wav) + "|" + bind +
            "\n"
            "SetOutput||stream=1 allowFormatChanges=1\n"
            "Speak|" +
            Narrow(L"今日のニュース") +
            "|flags=16\n"
            "Close||\n",
        Summary(Calls()));
    Wave wave = ReadWave(wav);
    ASSERT_TRUE(wave.riff);
    EXPECT_EQ(1, wave.format.nChannels);
    EXPECT_EQ(16000u, wave.format.nSamplesPerSec);
    EXPECT_EQ(16, wave.format.wBitsPerSample);
    EXPECT_EQ(7u * 16000 / 25 * 2, wave.data.size());  // 40 ms per character
    EXPECT_TRUE(HasSound(wave));

    // XML, text files, and a page text that looks like markup but is spoken as it is; the stereo
    // format stays chosen for a call with an unknown code.
    std::wstring stereo = FreshPath(L"stereo.wav");
    DeleteFileW(transcript_.c_str());
    RecSAPI(stereo.c_str(), L"<emph>号外</emph>", owner_.window(), 0, 100, 0, 0, 0, 1, 0, 24);
    RecSAPI(stereo.c_str(), L"Z:\\article.txt", owner_.window(), 0, 100, 0, 0, 1, 0, 0, 0);
    RecSAPI(stereo.c_str(), L"<silence msec='99999999'/>見出し", owner_.window(), 0, 100, 0, 0, 0, 0, 0, 0);
    std::vector<Call> calls = Calls();
    int binds = 0, speaks = 0;
    for (const Call& c : calls) {
        if (c.name == "BindToFile") {
            binds++;
            EXPECT_NE(std::string::npos, c.detail.find("channels=2 rate=44100 avg=176400 align=4 bits=16"))
                << c.detail;
        }
        if (c.name == "Speak" && c.detail != "flags=40") {
            speaks++;
            EXPECT_EQ(speaks == 1 ? "flags=8" : speaks == 2 ? "flags=20" : "flags=16", c.detail) << c.text;
        }
    }
    EXPECT_EQ(3, binds);
    EXPECT_EQ(3, speaks);
    wave = ReadWave(stereo);
    ASSERT_TRUE(wave.riff);
    EXPECT_EQ(2, wave.format.nChannels);
    EXPECT_EQ(44100u, wave.format.nSamplesPerSec);
    EXPECT_EQ(176400u, wave.format.nAvgBytesPerSec);
}

TEST_F(StandInSapiTest, RenderingsThatCannotBeMadeProperly) {
    Owner owner;
    // No format chosen yet in a fresh library: nothing is bound nor spoken.
    HMODULE module = LoadFreshCopy(L"TBSpeechFresh.dll");
    ASSERT_NE(nullptr, module);
    Exports fresh;
    ASSERT_TRUE(LoadExports(module, &fresh));
    std::wstring wav = FreshPath(L"noformat.wav");
    fresh.rec(wav.c_str(), L"本文", owner.window(), 0, 100, 0, 0, 0, 0, 0, 0);
    fresh.rec(wav.c_str(), L"本文", owner.window(), 0, 100, 0, 0, 0, 0, 1, 11);  // close only
    FreeLibrary(module);
    EXPECT_EQ("", Summary(Calls()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(wav.c_str()));

    // A voice index without a voice renders with the default voice.
    RecSAPI(wav.c_str(), L"本文", owner.window(), 99, 100, 0, 0, 0, 0, 0, 11);
    std::string calls = Summary(Calls());
    EXPECT_EQ(std::string::npos, calls.find("SetVoice")) << calls;
    EXPECT_NE(std::string::npos, calls.find("Speak|" + Narrow(L"本文") + "|flags=16")) << calls;
    EXPECT_TRUE(ReadWave(wav).riff);

    // A file that cannot be created: the text must not be spoken anywhere else.
    DeleteFileW(transcript_.c_str());
    std::wstring unwritable = TempPath(L"no_such_folder\\x.wav");
    RecSAPI(unwritable.c_str(), L"本文", owner.window(), 0, 100, 0, 0, 0, 0, 0, 11);
    calls = Summary(Calls());
    EXPECT_NE(std::string::npos, calls.find("BindToFile")) << calls;
    EXPECT_EQ(std::string::npos, calls.find("SetOutput")) << calls;
    EXPECT_EQ(std::string::npos, calls.find("Speak|" + Narrow(L"本文"))) << calls;
}

TEST_F(StandInSapiTest, LiveSpeechFlagsAndControls) {
    OpenSAPI();
    SetSAPI(owner_.window(), 0, 80, 2, -4);
    PlaySAPI(L"a", 0, 0, 0);
    PlaySAPI(L"b", 0, 1, 0);
    PlaySAPI(L"c", 0, 0, 1);
    PlaySAPI(L"d", 0, 1, 1);
    PlaySAPI(L"e", 1, 0, 0);
    PlaySAPI(L"f", 1, 1, 1);
    PauseSAPI();
    ResumeSAPI();
    StopSAPI();
    CloseSAPI();
    PlaySAPI(L"after close", 0, 0, 0);
    EXPECT_EQ(
        "SetVoice|Wine Default Voice|\n"
        "SetVolume||80\n"
        "SetRate||2\n"
        "Speak|<pitch middle=\"-4\"/>|flags=40\n"
        "Speak|a|flags=17\n"
        "Speak|b|flags=16\n"
        "Speak|c|flags=9\n"
        "Speak|d|flags=8\n"
        "Speak|e|flags=20\n"
        "Speak|f|flags=12\n"
        "Pause||\n"
        "Resume||\n"
        "Speak||flags=2\n",
        Summary(Calls()));
}

TEST_F(StandInSapiTest, RenderingsFromTwoThreadsTakeTurns) {
    auto render = [](int thread) {
        for (int i = 0; i < 3; i++) {
            std::wstring wav =
                FreshPath(L"thread" + std::to_wstring(thread) + L"_" + std::to_wstring(i) + L".wav");
            RecSAPI(wav.c_str(), L"同時の録音", nullptr, 0, 100, 0, 0, 0, 0, 0, thread == 0 ? 11 : 24);
        }
    };
    std::thread first(render, 0), second(render, 1);
    first.join();
    second.join();
    std::string sequence;
    for (const Call& c : Calls())
        if (c.name == "BindToFile" || c.name == "Close") sequence += c.name == "Close" ? "C" : "B";
    EXPECT_EQ("BCBCBCBCBCBC", sequence);
    for (int thread = 0; thread < 2; thread++)
        for (int i = 0; i < 3; i++) {
            Wave wave =
                ReadWave(TempPath(L"thread" + std::to_wstring(thread) + L"_" + std::to_wstring(i) + L".wav"));
            ASSERT_TRUE(wave.riff);
            EXPECT_TRUE(HasSound(wave));
        }
}

}  // namespace
