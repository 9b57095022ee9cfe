#include "speech/reading.h"

#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "speech/screenreaders.h"
#include "speech/speak.h"
#include "win/codepage.h"
#include "win/handles.h"
#include "win/thread.h"

volatile LONG ReadingActive = 0;
HANDLE volatile ReadingThread = nullptr;

namespace {

constexpr DWORD PollMs = 100;
constexpr DWORD StartWaitMs = 500;
constexpr int NvdaLineLength = 10240;

// Bumped by every start and every stop. A reading goes on only while the value it was started
// with is still the current one, so a stopped thread that is still inside a poll, or one that
// a newer reading has replaced, never speaks or moves the caret again.
volatile LONG ReadingGeneration = 0;

// The view of the reading started last: a stop that moves the caret back moves it there.
HWND ReadingView = nullptr;

struct ReadingJob {
    HWND view;
    LONG generation;
    HANDLE self;
    bool fromReceived;  // wait and count notice (a text just shown)
    ReadingNotice notice;
};

struct ReadingCaretMove {
    HWND view;
    int line;
    LONG generation;
};

bool Stopped(const ReadingJob& job) { return job.generation != ReadingGeneration; }

// A stop changes the generation and ReadingActive together under this lock, and a reading sets
// ReadingActive only while it is still current, under the same lock: a reading stopped just as
// it begins or ends can then never leave ReadingActive at 1 (every command refused) nor clear
// it for a newer reading.
SRWLOCK StateLock = SRWLOCK_INIT;

// How many reading threads are running, kept as the property ReadingStateProperty of the main
// window too, so that tools outside the program (an accessibility checker, the tests) can tell
// when a reading has ended without listening for it.
LONG RunningReaders = 0;
HWND StateWindow = nullptr;

void CountReader(HWND view, LONG change) {
    win::ExclusiveLock lock(StateLock);
    if (view) StateWindow = GetParent(view);
    RunningReaders += change;
    if (StateWindow)
        SetPropA(StateWindow, ReadingStateProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(RunningReaders)));
}

void SetActiveWhileCurrent(const ReadingJob& job, LONG active) {
    win::ExclusiveLock lock(StateLock);
    if (!Stopped(job)) ReadingActive = active;
}

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
bool SpeakLine(const ReadingJob& job, SpeechEngineId engine, const char* line, size_t bytes, wchar_t* wide) {
    // Fetching the line took several requests to the window thread, and a stop key may have
    // been handled between them: that line is not spoken either.
    if (Stopped(job)) return false;
    if (engine == SpeechEnginePcTalker) {
        if (PcTalkerPresent()) PcTalkerSpeak(line);
        return WaitWhile(job, PcTalkerBusy);
    }
    if (!NvdaReadsLine(bytes)) return true;
    memset(wide, 0, NvdaLineLength * sizeof(wchar_t));
    MultiByteToWideChar(win::ShiftJisCodePage, 0, line, static_cast<int>(bytes), wide, NvdaLineLength - 1);
    NvdaSpeak(wide);
    return WaitWhile(job, NvdaIsSpeaking);
}

// The line and link count, spoken before a reading that starts on the first line.
bool SpeakCountNotice(const ReadingJob& job, int firstLine, int lines) {
    char notice[64];
    switch (firstLine == 0 ? job.notice.kind : CountNotice::None) {
        case CountNotice::None:
            return true;
        case CountNotice::LinesAndLinks:
            std::snprintf(
                notice, sizeof notice, "このニュースは%d行で、関連リンクは%dです。", lines, job.notice.links);
            break;
        case CountNotice::LinesOnly:
            std::snprintf(notice, sizeof notice, "このニュースは%d行です。", lines);
            break;
    }
    // NVDA hears the notice from a speaking thread of its own that first silences NVDA: the
    // first line waits until that thread is done, or it would cut the line off. Polling NVDA
    // instead is not enough: on a busy machine the thread may not have begun to speak yet.
    return WaitUntilSaid(job, SpeakMessageTracked(notice, 0));
}

void ReadLines(ReadingJob& job, SpeechEngineId engine) {
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
            SendMessageA(GetParent(view), ReadingCaretMessage, 0, reinterpret_cast<LPARAM>(&move));
        }
    }
    if (Stopped(job)) return;
    // The reading is over only once "終わり" has been said: whatever is announced next (the end
    // of the article-after-article mode comes within a second) would otherwise take its place
    // in NVDA's message slot before its delay has run out.
    if (WaitUntilSaid(job, SpeakMessageTracked("終わり", 100))) SetActiveWhileCurrent(job, 0);
}

void Read(ReadingJob& job) {
    SpeechEngineId engine = CurrentSpeechEngine();
    bool run = engine == SpeechEnginePcTalker || engine == SpeechEngineNvda;
    if (run && job.fromReceived) {
        for (DWORD waited = 0; waited < StartWaitMs && !Stopped(job); waited += PollMs) Sleep(PollMs);
    }
    if (run && !Stopped(job)) {
        int firstLine = CaretLine(job.view);
        int count = LineCount(job.view);
        SetActiveWhileCurrent(job, 1);
        bool go = true;
        if (job.fromReceived) go = SpeakCountNotice(job, firstLine, count);
        if (go) ReadLines(job, engine);
    }
    InterlockedCompareExchangePointer(&ReadingThread, nullptr, job.self);
    CloseHandle(job.self);
    CountReader(job.view, -1);
}

// The reading thread closes its own handle when it ends.
void HandOverThread(ReadingJob& job, HANDLE thread) {
    job.self = thread;
    ReadingThread = thread;
    CountReader(job.view, 1);
}

bool StartReading(HWND view, bool fromReceived, const ReadingNotice& notice) {
    if (ReadingActive != 0 || !view) return false;
    ReadingView = view;
    auto job = std::make_unique<ReadingJob>(
        ReadingJob{view, InterlockedIncrement(&ReadingGeneration), nullptr, fromReceived, notice});
    return win::StartWorker(Read, std::move(job), HandOverThread);
}

}  // namespace

bool StartReadBody(HWND view, const ReadingNotice& notice) { return StartReading(view, true, notice); }
bool StartReadOn(HWND view) { return StartReading(view, false, ReadingNotice{}); }

void StopReading(int moveCaretBack) {
    HWND view = ReadingView;
    int line = moveCaretBack == 1 && view ? CaretLine(view) : 0;
    {
        win::ExclusiveLock lock(StateLock);
        InterlockedIncrement(&ReadingGeneration);
        ReadingActive = 0;
    }
    if (moveCaretBack == 1 && view) PutCaretAtLine(view, line > 0 ? line - 1 : 0);
}

LRESULT MoveReadingCaret(LPARAM parameter) {
    const ReadingCaretMove* move = reinterpret_cast<const ReadingCaretMove*>(parameter);
    // Runs on the window thread, as StopReading does: a reading stopped since it asked leaves
    // the caret where the stop put it.
    if (!move || move->generation != ReadingGeneration) return 0;
    PutCaretAtLine(move->view, move->line);
    return 1;
}

size_t FetchViewLine(HWND view, int line, char* out) { return FetchLine(view, line, out); }
