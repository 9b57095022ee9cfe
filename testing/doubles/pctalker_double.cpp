// Stand-in for PC-Talker's user library: the three functions, exported by ordinal only
// (8 presence, 12 busy, 69 speak). Every call goes to the transcript; the answers come from
// the control file.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "transcript.h"

namespace {

std::atomic<int64_t> SpokenAt{-1};  // monotonic ms of the last speak, -1 before the first

std::wstring FromShiftJis(const char* text) {
    if (!text) return std::wstring();
    int bytes = static_cast<int>(strlen(text));
    int units = MultiByteToWideChar(932, 0, text, bytes, nullptr, 0);
    std::wstring out(units > 0 ? units : 0, L'\0');
    if (units > 0) MultiByteToWideChar(932, 0, text, bytes, &out[0], units);
    return out;
}

}  // namespace

extern "C" {

// Ordinal 8: non-zero when the screen reader is present and can speak.
int __stdcall PctkPresent() {
    int answer = ReadControl().pctalkerPresent;
    char detail[16];
    snprintf(detail, sizeof detail, "%d", answer);
    TranscriptWrite("pctalker", "present", nullptr, detail);
    return answer;
}

// Ordinal 12: non-zero while still speaking.
int __stdcall PctkBusy() {
    int busyMs = ReadControl().pctalkerBusyMs;
    int64_t spokenAt = SpokenAt.load();
    int answer = spokenAt >= 0 && MonotonicMs() < spokenAt + busyMs ? 1 : 0;
    if (TranscriptPolls()) {
        char detail[16];
        snprintf(detail, sizeof detail, "%d", answer);
        TranscriptWrite("pctalker", "busy", nullptr, detail);
    }
    return answer;
}

// Ordinal 69: speaks a Shift-JIS text; the three integers are logged as they came.
int __stdcall PctkSpeak(const char* text, int a, int b, int c) {
    SpokenAt.store(MonotonicMs());
    char detail[48];
    snprintf(detail, sizeof detail, "%d,%d,%d", a, b, c);
    std::wstring wide = FromShiftJis(text);
    TranscriptWrite("pctalker", "speak", wide.c_str(), detail);
    return 1;
}

}  // extern "C"
