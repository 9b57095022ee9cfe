// The reading threads against a real text control and the screen-reader doubles: what a
// reading does without a screen reader, and what a thousand readings leave behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/state/shell.h"
#include "library/settings.h"
#include "speech/reading.h"
#include "speech/screenreaders.h"
#include "test_paths.h"

namespace {

long long ElapsedMs(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since)
        .count();
}

LRESULT CALLBACK TestMainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ReadingCaretMessage) return MoveReadingCaret(lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

// Handles the window messages the reading thread sends until it has ended.
bool PumpUntilReadingEnds(int timeoutMs) {
    auto start = std::chrono::steady_clock::now();
    while (ReadingThread != nullptr || ReadingActive != 0) {
        if (ElapsedMs(start) > timeoutMs) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return true;
}

class ReadingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* doubles = getenv("TAVLO_DOUBLES");
        ASSERT_TRUE(doubles) << "TAVLO_DOUBLES names the doubles' folder";
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        std::string base = std::string(temp) + "reading_test_" + std::to_string(GetCurrentProcessId()) + "_" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name();
        transcript_ = base + ".txt";
        control_ = base + ".control";
        DeleteFileA(transcript_.c_str());
        std::ofstream(control_, std::ios::binary) << "nvda_speaking_ms=0\npctalker_busy_ms=0\n";
        SetEnvironmentVariableA("TAVLO_TRANSCRIPT", transcript_.c_str());
        SetEnvironmentVariableA("TAVLO_SR_CONTROL", control_.c_str());
        SetEnvironmentVariableA("TAVLO_TRANSCRIPT_POLLS", nullptr);
        LoadScreenReaders(WindowsPath(doubles).c_str());
        saved_ = Settings;
        savedMain_ = MainWindow;
        savedBody_ = BodyView;

        WNDCLASSA wc = {};
        wc.lpfnWndProc = TestMainProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ReadingTestMain";
        RegisterClassA(&wc);
        LoadLibraryA("riched32.dll");
        MainWindow = CreateWindowA("ReadingTestMain",
                                   "",
                                   WS_OVERLAPPEDWINDOW,
                                   0,
                                   0,
                                   400,
                                   300,
                                   nullptr,
                                   nullptr,
                                   wc.hInstance,
                                   nullptr);
        BodyView = CreateWindowA("RICHEDIT",
                                 "",
                                 WS_CHILD | ES_MULTILINE | ES_READONLY,
                                 0,
                                 0,
                                 400,
                                 300,
                                 MainWindow,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(BodyViewId)),
                                 wc.hInstance,
                                 nullptr);
        ASSERT_TRUE(MainWindow && BodyView);
    }

    void TearDown() override {
        StopReading(0);
        PumpUntilReadingEnds(5000);
        Sleep(300);  // speaking threads of the last "終わり" end within a poll of the silent double
        DestroyWindow(MainWindow);
        MainWindow = savedMain_;
        BodyView = savedBody_;
        Settings = saved_;
        SetEnvironmentVariableA("TAVLO_TRANSCRIPT", nullptr);
        DeleteFileA(transcript_.c_str());
        DeleteFileA(control_.c_str());
    }

    std::string Transcript() {
        std::ifstream in(transcript_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::string transcript_, control_;
    SettingsRecord saved_{};
    HWND savedMain_ = nullptr, savedBody_ = nullptr;
};

TEST_F(ReadingTest, WithoutAScreenReaderAReadingEndsAtOnceAndTouchesNothing) {
    SetWindowTextA(BodyView, "一行目です。\r\n二行目です。\r\n三行目です。");
    SendMessageA(BodyView, EM_SETSEL, 0, 0);
    Settings.SpeechEngine = 0;
    Settings.CountNotice = 1;
    for (bool fromReceived : {true, false}) {
        auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(fromReceived ? StartReadBody(BodyView) : StartReadOn(BodyView));
        // Nothing here handles window messages: a thread that went on to read would stay
        // blocked on its first request to the text control.
        while (ReadingThread != nullptr && ElapsedMs(start) < 5000) Sleep(5);
        EXPECT_EQ(nullptr, ReadingThread);
        // Well inside the half-second wait that a reading of a text just shown begins with.
        EXPECT_LT(ElapsedMs(start), 400) << (fromReceived ? "read body" : "read on");
        EXPECT_EQ(0, ReadingActive);
    }
    DWORD caret = 1;
    SendMessageA(BodyView, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    EXPECT_EQ(0u, caret);
    EXPECT_EQ("", Transcript());
}

TEST_F(ReadingTest, AThousandReadingsLeaveNoHandlesBehind) {
    // An empty view: one line, passed over under NVDA without a pause, then "終わり".
    SetWindowTextA(BodyView, "");
    Settings.SpeechEngine = 2;
    SetEnvironmentVariableA("TAVLO_TRANSCRIPT", nullptr);  // a thousand transcript lines would only slow it
    auto readToTheEnd = [] { return StartReadOn(BodyView) && PumpUntilReadingEnds(10000); };
    // Stopped at once, as a key pressed right after the start would: the thread ends unheard.
    auto readAndStop = [] {
        if (!StartReadOn(BodyView)) return false;
        StopReading(0);
        return PumpUntilReadingEnds(10000);
    };
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(readToTheEnd() && readAndStop());
    // Handles are numbered from the lowest free slot: a fresh handle's number tells how many
    // are held (the handle count itself is not kept by every system this runs on).
    Sleep(300);
    auto freshHandle = [] {
        HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        CloseHandle(probe);
        return reinterpret_cast<uintptr_t>(probe);
    };
    uintptr_t before = freshHandle();
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(i % 50 == 0 ? readToTheEnd() : readAndStop()) << "reading " << i;
    Sleep(300);
    uintptr_t after = freshHandle();
    EXPECT_LT(after, before + 50 * 4)
        << "a fresh handle numbered " << before << " before, " << after << " after";
}

// The view's own procedure, and the line whose copy the window thread answers with a stop.
WNDPROC ViewProcedure = nullptr;
WPARAM StopAtLine = 0;

LRESULT CALLBACK StoppingViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
    // A stop key handled while the reading thread is fetching a line, between its requests.
    if (message == EM_GETLINE && wParam == StopAtLine) StopReading(0);
    return CallWindowProcA(ViewProcedure, view, message, wParam, lParam);
}

TEST_F(ReadingTest, AStopWhileALineIsFetchedKeepsThatLineUnspoken) {
    SetWindowTextA(BodyView, "一行目です。\r\n二行目です。\r\n三行目です。");
    SendMessageA(BodyView, EM_SETSEL, 0, 0);
    for (int engine : {2, 1}) {
        Settings.SpeechEngine = engine;
        SendMessageA(BodyView, EM_SETSEL, 0, 0);
        DeleteFileA(transcript_.c_str());
        StopAtLine = 1;
        ViewProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(BodyView, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StoppingViewProc)));
        ASSERT_TRUE(StartReadOn(BodyView));
        ASSERT_TRUE(PumpUntilReadingEnds(10000));
        SetWindowLongPtrA(BodyView, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ViewProcedure));
        const std::string heard = Transcript();
        EXPECT_NE(heard.find(u8"一行目です。"), std::string::npos) << "engine " << engine << ": " << heard;
        EXPECT_EQ(heard.find(u8"二行目です。"), std::string::npos) << "engine " << engine << ": " << heard;
        EXPECT_EQ(heard.find(u8"三行目です。"), std::string::npos) << "engine " << engine;
    }
}

}  // namespace
