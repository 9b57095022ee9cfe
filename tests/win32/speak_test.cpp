// The speech router against the screen-reader doubles: what each engine says, when, and how
// the caller is held. The doubles write every call to a transcript this test reads back.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "library/settings.h"
#include "speech/screenreaders.h"
#include "speech/speak.h"
#include "test_paths.h"

namespace {

struct Call {
    double ms;
    std::string engine, name, text, detail;
};

std::string DoublesFolder(const char* variable) {
    const char* value = getenv(variable);
    return value ? WindowsPath(value) : std::string();
}

long long ElapsedMs(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since)
        .count();
}

class SpeakTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(DoublesFolder("TAVLO_DOUBLES").empty()) << "TAVLO_DOUBLES names the doubles' folder";
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        std::string base = std::string(temp) + "speak_test_" + std::to_string(GetCurrentProcessId()) + "_" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name();
        transcript_ = base + ".txt";
        control_ = base + ".control";
        DeleteFileA(transcript_.c_str());
        DeleteFileA(control_.c_str());
        SetEnvironmentVariableA("TAVLO_TRANSCRIPT", transcript_.c_str());
        SetEnvironmentVariableA("TAVLO_SR_CONTROL", control_.c_str());
        SetEnvironmentVariableA("TAVLO_TRANSCRIPT_POLLS", nullptr);
        LoadScreenReaders(DoublesFolder("TAVLO_DOUBLES").c_str());
        saved_ = Settings;
        BrailleOutput = 0;
    }

    void TearDown() override {
        // Speaking threads of this test end within a poll once the double falls silent.
        Control("nvda_speaking_ms=0\n");
        Sleep(150);
        SetEnvironmentVariableA("TAVLO_TRANSCRIPT", nullptr);
        Settings = saved_;
        BrailleOutput = 0;
        DeleteFileA(transcript_.c_str());
        DeleteFileA(control_.c_str());
    }

    void Control(const std::string& lines) { std::ofstream(control_, std::ios::binary) << lines; }

    std::vector<Call> Transcript() {
        std::vector<Call> calls;
        std::ifstream in(transcript_, std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            std::vector<std::string> fields;
            std::stringstream split(line);
            std::string field;
            while (std::getline(split, field, '\t')) fields.push_back(field);
            fields.resize(5);
            calls.push_back({atof(fields[0].c_str()), fields[1], fields[2], fields[3], fields[4]});
        }
        return calls;
    }

    std::vector<Call> CallsNamed(const std::string& name) {
        std::vector<Call> out;
        for (const Call& call : Transcript())
            if (call.name == name) out.push_back(call);
        return out;
    }

    // Waits until the transcript holds count calls of that name (or the time is up).
    std::vector<Call> WaitFor(const std::string& name, size_t count, int timeoutMs = 3000) {
        auto start = std::chrono::steady_clock::now();
        std::vector<Call> calls = CallsNamed(name);
        while (calls.size() < count && ElapsedMs(start) < timeoutMs) {
            Sleep(10);
            calls = CallsNamed(name);
        }
        return calls;
    }

    std::string transcript_, control_;
    SettingsRecord saved_{};
};

TEST_F(SpeakTest, NoEngineMakesNoCallAndHoldsNobody) {
    SetEnvironmentVariableA("TAVLO_TRANSCRIPT_POLLS", "1");
    for (int engine : {0, 3, -1}) {
        Settings.SpeechEngine = engine;
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(1, SpeakMessage("タブロを終了します", 2000));
        EXPECT_LT(ElapsedMs(start), 200) << "engine " << engine;
    }
    Sleep(200);
    EXPECT_TRUE(Transcript().empty());
}

TEST_F(SpeakTest, PcTalkerSpeaksThenHoldsTheCallerForTheDelay) {
    Settings.SpeechEngine = 1;
    auto start = std::chrono::steady_clock::now();
    SpeakMessage("タブロを終了します", 2000);
    long long held = ElapsedMs(start);
    EXPECT_GE(held, 1950);
    EXPECT_LT(held, 3000);

    std::vector<Call> calls = Transcript();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ("present", calls[0].name);
    EXPECT_EQ("speak", calls[1].name);
    EXPECT_EQ("pctalker", calls[1].engine);
    EXPECT_EQ(u8"タブロを終了します", calls[1].text);
    EXPECT_EQ("5,1,0", calls[1].detail);

    Control("pctalker_busy_ms=300\n");
    SpeakMessage("a", 0);
    EXPECT_NE(0, PcTalkerBusy());
    Sleep(400);
    EXPECT_EQ(0, PcTalkerBusy());
}

TEST_F(SpeakTest, PcTalkerAbsentOrMissingSaysNothingAndHoldsNobody) {
    Settings.SpeechEngine = 1;
    Control("pctalker_present=0\n");
    auto start = std::chrono::steady_clock::now();
    SpeakMessage("タブロを終了します", 2000);
    EXPECT_LT(ElapsedMs(start), 300);
    EXPECT_TRUE(CallsNamed("speak").empty());
    EXPECT_EQ(1u, CallsNamed("present").size());

    // A folder without the libraries: both engines stay silent and nothing crashes.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    LoadScreenReaders(temp);
    start = std::chrono::steady_clock::now();
    SpeakMessage("a", 2000);
    EXPECT_LT(ElapsedMs(start), 300);
    Settings.SpeechEngine = 2;
    SpeakMessage("b", 0);
    WaitWhileNvdaSpeaks();
    EXPECT_EQ(1u, Transcript().size());
}

TEST_F(SpeakTest, NvdaLaterMessageWinsAndIsSpokenByBothThreads) {
    Settings.SpeechEngine = 2;
    auto start = std::chrono::steady_clock::now();
    SpeakMessage("最初", 100);
    SpeakMessage("二番目", 0);
    EXPECT_LT(ElapsedMs(start), 50) << "the caller is never held under NVDA";

    std::vector<Call> spoken = WaitFor("speakText", 2);
    Sleep(200);
    spoken = CallsNamed("speakText");
    ASSERT_EQ(2u, spoken.size());
    EXPECT_EQ(u8"二番目", spoken[0].text);
    EXPECT_EQ(u8"二番目", spoken[1].text);
    EXPECT_GE(spoken[1].ms - spoken[0].ms, 70.0);

    // Every speakText is preceded by a cancel.
    std::vector<Call> calls = Transcript();
    ASSERT_EQ(4u, calls.size());
    EXPECT_EQ("cancelSpeech", calls[0].name);
    EXPECT_EQ("speakText", calls[1].name);
    EXPECT_EQ("cancelSpeech", calls[2].name);
    EXPECT_EQ("speakText", calls[3].name);
}

TEST_F(SpeakTest, BrailleGoesOutBeforeTheDelayOnlyWhenSwitchedOn) {
    Settings.SpeechEngine = 2;
    BrailleOutput = 1;
    SpeakMessage("点字\r\nです", 500);
    std::vector<Call> calls = Transcript();
    ASSERT_EQ(1u, calls.size()) << "only the braille message before the delay";
    EXPECT_EQ("brailleMessage", calls[0].name);
    EXPECT_EQ(u8"点字\\r\\nです", calls[0].text);
    EXPECT_EQ(1u, WaitFor("speakText", 1).size());

    BrailleOutput = 0;
    SpeakMessage("音声のみ", 0);
    ASSERT_EQ(2u, WaitFor("speakText", 2).size());
    EXPECT_EQ(1u, CallsNamed("brailleMessage").size());
}

// Both forms of the client's isSpeaking: the classic one returns 1 while speaking, the later one
// sets the flag and returns 0, and an error status (NVDA not running) with the flag left clear.
TEST_F(SpeakTest, WaitWhileNvdaSpeaksWithEitherClient) {
    Settings.SpeechEngine = 2;
    SetEnvironmentVariableA("TAVLO_TRANSCRIPT_POLLS", "1");
    for (const char* variable : {"TAVLO_DOUBLES", "TAVLO_DOUBLES_NEW"}) {
        SCOPED_TRACE(variable);
        std::string folder = DoublesFolder(variable);
        ASSERT_FALSE(folder.empty());
        LoadScreenReaders(folder.c_str());

        Control("nvda_speaking_ms=600\n");
        auto start = std::chrono::steady_clock::now();
        SpeakMessage("お待ちください", 0);
        WaitWhileNvdaSpeaks();
        long long waited = ElapsedMs(start);
        EXPECT_GE(waited, 580);
        EXPECT_LT(waited, 1500);
        EXPECT_FALSE(CallsNamed("isSpeaking").empty());

        Control("nvda_speaking_ms=600\nnvda_error=1717\n");
        start = std::chrono::steady_clock::now();
        SpeakMessage("お待ちください", 0);
        WaitWhileNvdaSpeaks();
        EXPECT_LT(ElapsedMs(start), 400);
        Control("nvda_speaking_ms=0\n");
        Sleep(100);
    }
}

TEST_F(SpeakTest, LongNvdaMessageIsCutOnACharacterBoundary) {
    Settings.SpeechEngine = 2;
    // Full-width, half-width katakana (single bytes 0xA1-0xDF, never lead bytes) and ASCII mixed:
    // the slot takes 10,239 characters, not 10,239 bytes, and never half of one.
    std::string message = "a";
    while (message.size() < 30000) message += "ｱaあ";
    SpeakMessage(message.c_str(), 0);

    const wchar_t* pattern[3] = {L"ｱ", L"a", L"あ"};
    std::wstring expected = L"a";
    while (expected.size() < NvdaMessageSlotLength - 1) expected += pattern[(expected.size() - 1) % 3];
    EXPECT_EQ(0, NvdaMessageSlot[NvdaMessageSlotLength - 1]);
    std::wstring slot(NvdaMessageSlot);
    EXPECT_EQ(expected.size(), slot.size());
    EXPECT_TRUE(slot == expected)
        << "differs from character "
        << std::mismatch(slot.begin(), slot.end(), expected.begin(), expected.end()).first - slot.begin();

    std::vector<Call> spoken = WaitFor("speakText", 1);
    ASSERT_EQ(1u, spoken.size());
    int units = MultiByteToWideChar(CP_UTF8,
                                    MB_ERR_INVALID_CHARS,
                                    spoken[0].text.data(),
                                    static_cast<int>(spoken[0].text.size()),
                                    nullptr,
                                    0);
    EXPECT_EQ(NvdaMessageSlotLength - 1, units);

    // A short message afterwards leaves nothing of the long one behind.
    SpeakMessage("短い", 0);
    EXPECT_EQ(std::wstring(L"短い"), std::wstring(NvdaMessageSlot));
}

}  // namespace
