// Stand-in for NVDA's controller client. Built twice: with the no-argument isSpeaking
// (non-zero while speaking) and, with NVDA_ISSPEAKING_WITH_FLAG, with the later form that
// reports through an out-parameter and returns an RPC status. Every call goes to the
// transcript; the answers come from the control file.
#include <windows.h>

#include <atomic>
#include <cstdio>

#include "transcript.h"

namespace {

// Monotonic ms until which the double is "speaking"; 0 when silent.
std::atomic<int64_t> SpeakingUntil{0};

bool Speaking() { return MonotonicMs() < SpeakingUntil.load(); }

void Log(const char* call, const wchar_t* text, long status) {
    char detail[16];
    snprintf(detail, sizeof detail, "%ld", status);
    TranscriptWrite("nvda", call, text, detail);
}

}  // namespace

extern "C" {

unsigned long __stdcall nvdaController_speakText(const wchar_t* text) {
    ControlValues control = ReadControl();
    if (control.nvdaError == 0) SpeakingUntil.store(MonotonicMs() + control.nvdaSpeakingMs);
    Log("speakText", text, control.nvdaError);
    return static_cast<unsigned long>(control.nvdaError);
}

unsigned long __stdcall nvdaController_cancelSpeech() {
    ControlValues control = ReadControl();
    SpeakingUntil.store(0);
    Log("cancelSpeech", nullptr, control.nvdaError);
    return static_cast<unsigned long>(control.nvdaError);
}

unsigned long __stdcall nvdaController_brailleMessage(const wchar_t* text) {
    ControlValues control = ReadControl();
    Log("brailleMessage", text, control.nvdaError);
    return static_cast<unsigned long>(control.nvdaError);
}

#if NVDA_ISSPEAKING_WITH_FLAG
// 0 on success with *speaking set; the error status (flag untouched) when NVDA is not running.
unsigned long __stdcall nvdaController_isSpeaking(unsigned char* speaking) {
    ControlValues control = ReadControl();
    unsigned long status = static_cast<unsigned long>(control.nvdaError);
    int answer = 0;
    if (status == 0) {
        answer = Speaking() ? 1 : 0;
        if (speaking) *speaking = static_cast<unsigned char>(answer);
    }
    if (TranscriptPolls()) {
        char detail[32];
        snprintf(detail, sizeof detail, "%lu,%d", status, answer);
        TranscriptWrite("nvda", "isSpeaking", nullptr, detail);
    }
    return status;
}
#else
// Non-zero while speaking; 0 when silent or when NVDA is not running.
int __stdcall nvdaController_isSpeaking() {
    ControlValues control = ReadControl();
    int answer = control.nvdaError == 0 && Speaking() ? 1 : 0;
    if (TranscriptPolls()) {
        char detail[16];
        snprintf(detail, sizeof detail, "%d", answer);
        TranscriptWrite("nvda", "isSpeaking", nullptr, detail);
    }
    return answer;
}
#endif

}  // extern "C"
