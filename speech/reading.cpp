#include "speech/reading.h"

#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "app/screens.h"
#include "app/shell.h"
#include "library/settings.h"
#include "retrieval/headlines.h"
#include "speech/reading_lines.h"
#include "speech/screenreaders.h"
#include "speech/speak.h"

volatile LONG ReadingActive = 0;
volatile LONG AutoAdvanceActive = 0;
HANDLE volatile ReadingThread = nullptr;

namespace {

constexpr int EnginePcTalker = 1;
constexpr int EngineNvda = 2;
constexpr DWORD PollMs = 100;
constexpr DWORD StartWaitMs = 500;
constexpr UINT AutoAdvanceMs = 1000;
constexpr int NvdaLineLength = 10240;

// Bumped by every start and every stop. A reading goes on only while the value it was started
// with is still the current one, so a stopped thread that is still inside a poll, or one that
// a newer reading has replaced, never speaks or moves the caret again.
volatile LONG ReadingGeneration = 0;

struct ReadingJob {
    HWND view;
    LONG generation;
    HANDLE self;
    bool fromReceived;  // wait and count notice (a text just shown)
};

struct ReadingCaretMove {
    HWND view;
    int line;
    LONG generation;
};

bool Stopped(const ReadingJob& job) { return job.generation != ReadingGeneration; }

int CaretLine(HWND view) {
    DWORD start = 0;
    SendMessageA(view, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(SendMessageA(view, EM_EXLINEFROMCHAR, 0, static_cast<LPARAM>(start)));
}

int LineCount(HWND view) { return static_cast<int>(SendMessageA(view, EM_GETLINECOUNT, 0, 0)); }

void PutCaretAtLine(HWND view, int line) {
    LRESULT first = SendMessageA(view, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
    if (first < 0) return;
    SendMessageA(view, EM_SETSEL, static_cast<WPARAM>(first), first);
}

// Copies line `line` of the view into out (ReadingLineCapacity bytes) and returns its length in
// bytes. The control's index and length count characters, and the Shift-JIS copy of a line of
// n characters takes up to 2n bytes: the line is copied into a buffer of that many bytes (the
// control gives nothing of a line that does not fit) and then cut at its own characters and to
// the line buffer.
size_t FetchLine(HWND view, int line, char* out) {
    out[0] = '\0';
    LRESULT first = SendMessageA(view, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
    if (first < 0) return 0;
    LRESULT chars = SendMessageA(view, EM_LINELENGTH, static_cast<WPARAM>(first), 0);
    if (chars <= 0) return 0;
    const size_t capacity = chars < 32000 ? static_cast<size_t>(chars) * 2 + 4 : 0xFFFF;  // a 16-bit word
    std::vector<char> copy(capacity + 1, '\0');
    *reinterpret_cast<WORD*>(copy.data()) = static_cast<WORD>(capacity);
    LRESULT copied =
        SendMessageA(view, EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(copy.data()));
    size_t n = copied > 0 ? strnlen(copy.data(), std::min(static_cast<size_t>(copied), capacity)) : 0;
    if (n == 0) {
        // A paragraph too long even for that: take the characters that fit the line buffer.
        const LONG want = static_cast<LONG>(ReadingLineCapacity - 1);
        std::fill(copy.begin(), copy.end(), '\0');
        TEXTRANGEA range;
        range.chrg.cpMin = static_cast<LONG>(first);
        range.chrg.cpMax = static_cast<LONG>(first) + want;
        range.lpstrText = copy.data();
        SendMessageA(view, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
        n = strnlen(copy.data(), static_cast<size_t>(want));
    }
    size_t bytes = ReadingLineLength(copy.data(), n, static_cast<size_t>(chars), ReadingLineCapacity);
    memcpy(out, copy.data(), bytes);
    out[bytes] = '\0';
    return bytes;
}

// Sleeps a poll at a time while the screen reader is busy; false when the reading was stopped.
bool WaitWhile(const ReadingJob& job, int (*busy)()) {
    do {
        Sleep(PollMs);
        if (Stopped(job)) return false;
    } while (busy());
    return true;
}

// Waits a poll at a time for the speaking thread of a message (SpeakMessageTracked) to end and
// closes it; false when the reading was stopped.
bool WaitUntilSaid(const ReadingJob& job, void* thread) {
    HANDLE speaking = static_cast<HANDLE>(thread);
    if (speaking) {
        while (WaitForSingleObject(speaking, PollMs) == WAIT_TIMEOUT)
            if (Stopped(job)) break;
        CloseHandle(speaking);
    }
    return !Stopped(job);
}

// Speaks one line; false when the reading was stopped meanwhile.
bool SpeakLine(const ReadingJob& job, int engine, const char* line, size_t bytes, wchar_t* wide) {
    if (engine == EnginePcTalker) {
        if (PcTalkerPresent()) PcTalkerSpeak(line);
        return WaitWhile(job, PcTalkerBusy);
    }
    if (!NvdaReadsLine(bytes)) return true;
    memset(wide, 0, NvdaLineLength * sizeof(wchar_t));
    MultiByteToWideChar(932, 0, line, static_cast<int>(bytes), wide, NvdaLineLength - 1);
    NvdaSpeak(wide);
    return WaitWhile(job, NvdaIsSpeaking);
}

// The line and link count, spoken before a reading that starts on the first line.
bool SpeakCountNotice(const ReadingJob& job, int firstLine, int lines) {
    int depth = PageDepth;
    char notice[64];
    switch (ChooseCountNotice(Settings.CountNotice, firstLine, CategoryParameters[1], ScrapbookMode)) {
        case CountNotice::None:
            return true;
        case CountNotice::LinesAndLinks: {
            int links = depth >= 0 && depth < HeadlineLevels ? HeadlineStore.counts[depth] : 0;
            std::snprintf(notice, sizeof notice, "このニュースは%d行で、関連リンクは%dです。", lines, links);
            break;
        }
        case CountNotice::LinesOnly:
            std::snprintf(notice, sizeof notice, "このニュースは%d行です。", lines);
            break;
    }
    // NVDA hears the notice from a speaking thread of its own that first silences NVDA: the
    // first line waits until that thread is done, or it would cut the line off. Polling NVDA
    // instead is not enough: on a busy machine the thread may not have begun to speak yet.
    return WaitUntilSaid(job, SpeakMessageTracked(notice, 0));
}

void ReadLines(ReadingJob& job, int engine) {
    HWND view = job.view;
    int line = CaretLine(view);
    int count = LineCount(view);
    char text[ReadingLineCapacity];
    wchar_t wide[NvdaLineLength];
    while (line < count) {
        if (Stopped(job)) return;
        size_t bytes = FetchLine(view, line, text);
        if (!SpeakLine(job, engine, text, bytes, wide)) return;
        if (Stopped(job)) return;
        ++line;
        if (line < count) {
            ReadingCaretMove move{view, line, job.generation};
            SendMessageA(MainWindow, ReadingCaretMessage, 0, reinterpret_cast<LPARAM>(&move));
        }
    }
    if (Stopped(job)) return;
    // The reading is over only once "終わり" has been said: whatever is announced next (the end
    // of the article-after-article mode comes within a second) would otherwise take its place
    // in NVDA's message slot before its delay has run out.
    if (WaitUntilSaid(job, SpeakMessageTracked("終わり", 100))) ReadingActive = 0;
}

unsigned long __stdcall ReadingThreadProc(void* parameter) {
    ReadingJob* job = static_cast<ReadingJob*>(parameter);
    int engine = Settings.SpeechEngine;
    bool run = engine == EnginePcTalker || engine == EngineNvda;
    if (run && job->fromReceived) {
        for (DWORD waited = 0; waited < StartWaitMs && !Stopped(*job); waited += PollMs) Sleep(PollMs);
    }
    if (run && !Stopped(*job)) {
        int firstLine = CaretLine(job->view);
        int count = LineCount(job->view);
        ReadingActive = 1;
        bool go = true;
        if (job->fromReceived) go = SpeakCountNotice(*job, firstLine, count);
        if (go) ReadLines(*job, engine);
    }
    InterlockedCompareExchangePointer(&ReadingThread, nullptr, job->self);
    CloseHandle(job->self);
    delete job;
    return 0;
}

bool StartReading(HWND view, bool fromReceived) {
    if (ReadingActive != 0 || !view) return false;
    ReadingJob* job =
        new (std::nothrow) ReadingJob{view, InterlockedIncrement(&ReadingGeneration), nullptr, fromReceived};
    if (!job) return false;
    HANDLE thread = CreateThread(nullptr, 0, ReadingThreadProc, job, CREATE_SUSPENDED, nullptr);
    if (!thread) {
        delete job;
        return false;
    }
    job->self = thread;
    ReadingThread = thread;
    ResumeThread(thread);
    return true;
}

void StopAutoAdvance() {
    if (!AutoAdvanceActive) return;
    KillTimer(MainWindow, AutoAdvanceTimerId);
    AutoAdvanceActive = 0;
}

bool BodyCommandAllowed() {
    HWND focus = FocusedView();
    return focus != MenuList && focus != HeadlineList;
}

}  // namespace

bool StartReadBody(HWND view) { return StartReading(view, true); }
bool StartReadOn(HWND view) { return StartReading(view, false); }

void StopReading(int moveCaretBack) {
    StopAutoAdvance();
    int line = moveCaretBack == 1 ? CaretLine(BodyView) : 0;
    InterlockedIncrement(&ReadingGeneration);
    ReadingActive = 0;
    if (moveCaretBack == 1) PutCaretAtLine(BodyView, line > 0 ? line - 1 : 0);
}

LRESULT MoveReadingCaret(LPARAM parameter) {
    const ReadingCaretMove* move = reinterpret_cast<const ReadingCaretMove*>(parameter);
    // Runs on the window thread, as StopReading does: a reading stopped since it asked leaves
    // the caret where the stop put it.
    if (!move || move->generation != ReadingGeneration) return 0;
    PutCaretAtLine(move->view, move->line);
    return 1;
}

bool ReadFromTop() {
    if (!BodyCommandAllowed()) return false;
    SendMessageA(BodyView, EM_SETSEL, 0, 0);
    StartReadBody(BodyView);
    return true;
}

bool ReadFromCaret() {
    if (!BodyCommandAllowed()) return false;
    StartReadBody(BodyView);
    return true;
}

bool ReadAllArticles() {
    if (ReadingActive == 1) return false;
    HWND focus = FocusedView();
    if (focus != HeadlineList && focus != BodyView) return false;
    SpeakMessage("連続読み上げ開始", 0);
    if (Settings.SpeechEngine == EngineNvda) WaitWhileNvdaSpeaks();
    ActivateEntry(focus == HeadlineList ? FromHeadlineList : FromBodyView);
    SetTimer(MainWindow, AutoAdvanceTimerId, AutoAdvanceMs, nullptr);
    AutoAdvanceActive = 1;
    return true;
}

void AutoAdvanceTick() {
    // A reading that has been started but is still in its opening wait counts as running:
    // moving on then would open the next article before this one was read.
    if (ReadingActive == 1 || ReadingThread != nullptr) return;
    int count = static_cast<int>(SendMessageA(HeadlineList, LB_GETCOUNT, 0, 0));
    int selection = static_cast<int>(SendMessageA(HeadlineList, LB_GETCURSEL, 0, 0));
    if (selection < count - 1) {
        SendMessageA(HeadlineList, LB_SETCURSEL, static_cast<WPARAM>(selection + 1), 0);
        HWND focus = FocusedView();
        if (focus == HeadlineList || focus == BodyView) ActivateEntry(FromHeadlineList);
        return;
    }
    SpeakMessage("連続読み上げ終わり", 500);
    StopAutoAdvance();
}

size_t FetchViewLine(HWND view, int line, char* out) { return FetchLine(view, line, out); }
