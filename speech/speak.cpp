#include "speech/speak.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "library/settings.h"
#include "retrieval/sjis.h"
#include "speech/screenreaders.h"
#include "win/codepage.h"
#include "win/handles.h"
#include "win/thread.h"

wchar_t NvdaMessageSlot[NvdaMessageSlotLength];
volatile int32_t BrailleOutput = 0;

namespace {

// Writers replace the slot and readers copy it under this lock, so a speaking thread never
// reads a message half rewritten by a caller on another thread.
SRWLOCK SlotLock = SRWLOCK_INIT;

// Byte length of the first maxChars characters of a Shift-JIS text (a lead byte and its
// trail byte are one character).
size_t CharacterPrefix(const char* text, size_t maxChars) {
    size_t bytes = 0;
    for (size_t chars = 0; chars < maxChars && text[bytes]; ++chars)
        bytes += SjisIsLead(static_cast<unsigned char>(text[bytes])) && text[bytes + 1] ? 2 : 1;
    return bytes;
}

// Converts text into out (zero-filled, NvdaMessageSlotLength units), cut on a character
// boundary where it is too long, so the terminator always stays in place.
void ConvertForNvda(const char* text, wchar_t* out) {
    const size_t room = NvdaMessageSlotLength - 1;
    size_t chars = room;
    while (chars > 0) {
        int bytes = static_cast<int>(CharacterPrefix(text, chars));
        if (bytes == 0) return;
        int needed = MultiByteToWideChar(win::ShiftJisCodePage, 0, text, bytes, nullptr, 0);
        if (needed <= 0) return;
        if (static_cast<size_t>(needed) <= room) {
            MultiByteToWideChar(win::ShiftJisCodePage, 0, text, bytes, out, needed);
            return;
        }
        // Some characters took more than one unit: drop at least the excess and try again.
        size_t excess = static_cast<size_t>(needed) - room;
        chars = excess >= chars ? 0 : chars - excess;
    }
}

// One NVDA message: spoken after the delay, whatever the slot then holds.
struct NvdaMessageJob {
    int delayMs;
    HANDLE* keep;  // receives the thread's handle when the caller tracks the message
};

void SpeakNvdaMessage(NvdaMessageJob& job) {
    if (job.delayMs > 0) Sleep(static_cast<DWORD>(job.delayMs));
    NvdaCancel();
    wchar_t message[NvdaMessageSlotLength];
    {
        win::SharedLock lock(SlotLock);
        memcpy(message, NvdaMessageSlot, sizeof message);
    }
    NvdaSpeak(message);
    do {
        Sleep(10);
    } while (NvdaIsSpeaking());
}

void KeepHandle(NvdaMessageJob& job, HANDLE thread) { *job.keep = thread; }

// SpeakMessage; with keepThread, the NVDA speaking thread's handle is returned open.
HANDLE Speak(const char* text, int delayMs, bool keepThread) {
    HANDLE kept = nullptr;
    if (!text) text = "";
    if (delayMs < 0) delayMs = 0;
    switch (CurrentSpeechEngine()) {
        case SpeechEnginePcTalker:
            if (!PcTalkerPresent()) break;
            PcTalkerSpeak(text);
            Sleep(static_cast<DWORD>(delayMs));
            break;
        case SpeechEngineNvda: {
            static_assert(NvdaMessageSlotLength * sizeof(wchar_t) == 20480, "slot of 20,480 bytes");
            wchar_t message[NvdaMessageSlotLength] = {};
            ConvertForNvda(text, message);
            {
                win::ExclusiveLock lock(SlotLock);
                memcpy(NvdaMessageSlot, message, sizeof message);
            }
            if (BrailleOutput == 1) NvdaBraille(message);
            auto job = std::make_unique<NvdaMessageJob>(NvdaMessageJob{delayMs, &kept});
            win::StartWorker(SpeakNvdaMessage, std::move(job), keepThread ? KeepHandle : nullptr);
            break;
        }
        default:
            break;
    }
    return kept;
}

}  // namespace

int SpeakMessage(const char* text, int delayMs) {
    Speak(text, delayMs, false);
    return 1;
}

void* SpeakMessageTracked(const char* text, int delayMs) { return Speak(text, delayMs, true); }

void WaitUntilHeard(void* tracked) {
    win::KernelHandle speaking(static_cast<HANDLE>(tracked));
    if (speaking) WaitForSingleObject(speaking.get(), INFINITE);
}

void SpeakAndWait(const char* text, int delayMs, int holdMs) {
    switch (CurrentSpeechEngine()) {
        case SpeechEngineNvda:
            SpeakMessage(text, delayMs);
            WaitWhileNvdaSpeaks();
            break;
        case SpeechEnginePcTalker:
            SpeakMessage(text, holdMs < 0 ? delayMs : holdMs);
            break;
        default:
            break;
    }
}

void AnnounceHeadlineCount(int count, bool radio, const char* firstTitle, int newCount) {
    char text[96];
    if (newCount < 0)
        std::snprintf(text, sizeof text, "受信した見出しは%d件です", count);
    else
        std::snprintf(text, sizeof text, "受信した見出しは%d件です。新着%d件", count, newCount);
    switch (CurrentSpeechEngine()) {
        case SpeechEngineNvda:
            SpeakMessage(text, radio ? 0 : 10);
            break;
        case SpeechEnginePcTalker:
            SpeakMessage(text, 500);
            if (!radio && count > 0) SpeakMessage(firstTitle, 500);
            break;
        default:
            break;
    }
}

SpeechEngineId CurrentSpeechEngine() { return static_cast<SpeechEngineId>(Settings.SpeechEngine); }

void WaitWhileNvdaSpeaks() {
    Sleep(100);
    while (NvdaIsSpeaking()) Sleep(10);
}

void SpeakForPcTalker(const char* text, int delayMs) {
    if (CurrentSpeechEngine() == SpeechEnginePcTalker) SpeakMessage(text, delayMs);
}
