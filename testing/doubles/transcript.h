// Shared by the screen-reader doubles: the transcript every call is appended to, and the
// control file whose answers a test sets while the program runs.
#pragma once
#include <cstdint>

// Appends one line "<ms>\t<engine>\t<call>\t<text>\t<detail>" to the file named by
// TAVLO_TRANSCRIPT (nothing when the variable is unset). text is UTF-16 and may be null;
// detail is plain ASCII and may be null.
void TranscriptWrite(const char* engine, const char* call, const wchar_t* text, const char* detail);
// The same line into the file named by the environment variable given (the converter
// stand-in keeps a log of its own in this form).
void LogWrite(const wchar_t* variable, const char* engine, const char* call, const wchar_t* text,
              const char* detail);

// Whether polls (busy, isSpeaking) are logged: TAVLO_TRANSCRIPT_POLLS=1.
bool TranscriptPolls();

// The answers of the doubles, read from the file named by TAVLO_SR_CONTROL at every call.
struct ControlValues {
    int pctalkerPresent = 1;
    int pctalkerBusyMs = 0;
    int nvdaSpeakingMs = 0;
    int nvdaError = 0;
    int converterExit = 0;     // the converter stand-in's exit code
    int converterWrites = 1;   // 0: it writes no output file
    int converterDelayMs = 0;  // how long it takes
};
ControlValues ReadControl();

// Milliseconds on a monotonic clock, for "busy"/"speaking" windows.
int64_t MonotonicMs();
