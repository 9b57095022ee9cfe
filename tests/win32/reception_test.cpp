// A headline reception against the local HTTPS site: the worker reports to the window thread
// by posted messages, in order, and a reception started later makes the reports of an earlier
// one stale.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "retrieval/reception.h"

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
    "Parameter1=届かない\r\nParameter2=https://localhost/\r\nParameter3=\r\n";

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

}  // namespace
