// A headline reception against the local HTTPS site: the worker reports to the window thread
// by posted messages, in order, and a reception started later makes the reports of an earlier
// one stale.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "retrieval/reception.h"
#include "testing/doubles/processcounts.h"

namespace {

// What the window thread saw: each report's stage, category name, count and first title, and
// whether it was the latest reception's when it arrived.
struct Seen {
    ReceptionStage stage;
    std::string name;
    int count;
    std::string firstTitle;
    bool latest;
};
std::vector<Seen> Reports;

LRESULT CALLBACK ReportWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != ReceptionMessage) return DefWindowProcA(window, message, wParam, lParam);
    std::unique_ptr<ReceptionReport> report(reinterpret_cast<ReceptionReport*>(lParam));
    EXPECT_EQ(wParam, report->ticket);
    Reports.push_back({report->stage,
                       report->parameters[0],
                       report->count,
                       report->titles[0],
                       IsLatestReception(report->ticket)});
    return 0;
}

const char Categories[] =
    "[Category1]\r\n"
    "Parameter1=一覧\r\nParameter2=https://localhost/\r\n"
    "Parameter3=https://localhost/headlines/list.sjis.html\r\n"
    "Parameter4=<div id=\"list\">\r\nParameter5=</div>\r\nParameter6=<li><a href=\"\r\nParameter7=\"\r\n"
    "Parameter15=https://localhost/headlines/more.html\r\n"
    "[Category2]\r\n"
    "Parameter1=カテゴリーA\r\nParameter2=https://localhost/\r\n"
    "Parameter3=https://localhost/_fault/slow/headlines/quickA.html?delay=0.3\r\n"
    "Parameter4=<div id=\"list\">\r\nParameter5=</div>\r\nParameter6=<li><a href=\"\r\nParameter7=\"\r\n"
    "Parameter12=1\r\n"
    "[Category3]\r\n"
    "Parameter1=カテゴリーB\r\nParameter2=https://localhost/\r\n"
    "Parameter3=https://localhost/headlines/quickB.html\r\n"
    "Parameter4=<div id=\"list\">\r\nParameter5=</div>\r\nParameter6=<li><a href=\"\r\nParameter7=\"\r\n"
    "Parameter12=1\r\n"
    "[Category4]\r\n"
    "Parameter1=届かない\r\nParameter2=https://localhost/\r\nParameter3=\r\n"
    "[Category5]\r\n"
    "Parameter1=遅い\r\nParameter2=https://localhost/\r\n"
    "Parameter3=https://localhost/_fault/slow/headlines/many.html?delay=1\r\n"
    "Parameter4=<div id=\"list\">\r\nParameter5=</div>\r\nParameter6=<li><a href=\"\r\nParameter7=\"\r\n";

class ReceptionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Reports.clear();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ReportWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ReceptionTestWindow";
        RegisterClassA(&wc);
        window_ =
            CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(nullptr, window_);
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        file_ = std::string(temp) + "reception_test_" + std::to_string(GetCurrentProcessId()) + ".txt";
        std::ofstream(file_, std::ios::binary) << Categories;
    }
    void TearDown() override {
        DestroyWindow(window_);
        DeleteFileA(file_.c_str());
    }

    // Handles the posted reports until one of the latest reception ends it (or the time is up).
    bool PumpUntilLatestEnds(int timeoutMs) {
        auto start = std::chrono::steady_clock::now();
        for (;;) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            for (const Seen& seen : Reports)
                if (seen.latest && seen.stage != ReceptionStage::Started) return true;
            if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(timeoutMs)) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }

    HWND window_ = nullptr;
    std::string file_;
};

TEST_F(ReceptionTest, ReportsStartThenTheHeadlinesOfBothPagesOrTheFailure) {
    StartHeadlineReception(window_, file_.c_str(), 1);
    ASSERT_TRUE(PumpUntilLatestEnds(30000));
    ASSERT_EQ(2u, Reports.size());
    EXPECT_EQ(ReceptionStage::Started, Reports[0].stage);
    EXPECT_EQ("一覧", Reports[0].name);
    EXPECT_EQ(ReceptionStage::Received, Reports[1].stage);
    EXPECT_EQ(5, Reports[1].count);  // three on the list page, two on the second page
    EXPECT_EQ("TokyoStocks：上昇", Reports[1].firstTitle);

    Reports.clear();
    StartHeadlineReception(window_, file_.c_str(), 4);
    ASSERT_TRUE(PumpUntilLatestEnds(30000));
    ASSERT_EQ(2u, Reports.size());
    EXPECT_EQ("届かない", Reports[0].name);
    EXPECT_EQ(ReceptionStage::Failed, Reports[1].stage);
}

TEST_F(ReceptionTest, ALaterReceptionMakesTheReportsOfASlowerOneStale) {
    StartHeadlineReception(window_, file_.c_str(), 2);  // its page arrives slowly
    Sleep(200);
    StartHeadlineReception(window_, file_.c_str(), 3);
    ASSERT_TRUE(PumpUntilLatestEnds(30000));
    Sleep(3000);  // whatever the slow one still sends
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    std::vector<std::string> taken;
    for (const Seen& seen : Reports) {
        if (seen.latest)
            taken.push_back(seen.name + (seen.stage == ReceptionStage::Received ? " received" : ""));
    }
    EXPECT_EQ((std::vector<std::string>{"カテゴリーB", "カテゴリーB received"}), taken);
    for (const Seen& seen : Reports) {
        if (seen.latest && seen.stage == ReceptionStage::Received) {
            EXPECT_EQ(40, seen.count);
        }
    }
}

// Reloads in quick succession against a page that takes fifteen seconds: each superseded
// reception stops its download, only a few threads ever run, and the last one asked for is
// received.
TEST_F(ReceptionTest, QuickReloadsOfASlowPageKeepTheThreadsFew) {
    const DWORD self = GetCurrentProcessId();
    const long before = ProcessThreadCountOf(self);
    ASSERT_GT(before, 0);
    long most = before;
    for (int i = 0; i < 50; ++i) {
        StartHeadlineReception(window_, file_.c_str(), 5);
        Sleep(40);
        most = std::max(most, ProcessThreadCountOf(self));
    }
    StartHeadlineReception(window_, file_.c_str(), 3);
    auto start = std::chrono::steady_clock::now();
    while (!PumpUntilLatestEnds(50)) {
        most = std::max(most, ProcessThreadCountOf(self));
        ASSERT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20)) << "the last one never came";
    }
    const long elapsed = static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
    const Seen* last = nullptr;
    for (const Seen& seen : Reports)
        if (seen.latest && seen.stage != ReceptionStage::Started) last = &seen;
    ASSERT_NE(nullptr, last);
    EXPECT_EQ(ReceptionStage::Received, last->stage);
    EXPECT_EQ("カテゴリーB", last->name);
    EXPECT_LE(most - before, 6) << "threads: " << before << " before, at most " << most;
    std::printf("[ measured ] 51 receptions: threads %ld before, at most %ld; the last received %ld ms after it was asked for\n",
                before, most, elapsed);
}

}  // namespace
