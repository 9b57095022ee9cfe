// The ground floor of Win32 helpers: a worker thread owns its arguments and nobody leaks its
// handle; the page conversion keeps a page inside its buffer.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>

#include "win/codepage.h"
#include "win/thread.h"

namespace {

std::atomic<int> Released{0};

struct Job {
    Job(HANDLE d, int v, int* s) : done(d), value(v), seen(s) {}
    ~Job() { ++Released; }
    HANDLE done;
    int value;
    int* seen;
};

void Work(Job& job) {
    *job.seen = job.value;
    SetEvent(job.done);
}

TEST(WinHelpers, AWorkerGetsItsArgumentsAndReleasesThem) {
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    int seen = 0;
    Released = 0;
    ASSERT_TRUE(win::StartWorker(Work, std::make_unique<Job>(done, 42, &seen)));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(done, 5000));
    for (int i = 0; i < 100 && Released.load() < 1; ++i) Sleep(10);
    EXPECT_EQ(42, seen);
    EXPECT_EQ(1, Released.load());

    // Handed over, the handle stays open for whoever took it, and is the running thread's.
    ResetEvent(done);
    static HANDLE taken = nullptr;
    ASSERT_TRUE(win::StartWorker(
        Work, std::make_unique<Job>(done, 7, &seen), [](Job&, HANDLE thread) { taken = thread; }));
    ASSERT_NE(nullptr, taken);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(taken, 5000));  // the thread ends
    EXPECT_EQ(7, seen);
    EXPECT_TRUE(CloseHandle(taken));
    CloseHandle(done);
}

TEST(WinHelpers, Utf8PagesBecomeShiftJisInTheirOwnBuffer) {
    char page[32] = "\xE3\x82\xBF\xE3\x83\x96\xE3\x83\xAD abc";  // タブロ in UTF-8
    ASSERT_TRUE(win::Utf8ToShiftJisInPlace(page, sizeof page));
    EXPECT_EQ(std::string("\x83\x5E\x83\x75\x83\x8D abc"), page);

    // A character Shift-JIS lacks and a broken sequence each become one byte: never longer.
    char odd[16] =
        "a\xF0\x9F\x98\x80"
        "b\xE3\x82";
    size_t before = std::strlen(odd);
    ASSERT_TRUE(win::Utf8ToShiftJisInPlace(odd, std::strlen(odd) + 1));
    EXPECT_LE(std::strlen(odd), before);
    EXPECT_EQ('a', odd[0]);
}

}  // namespace
