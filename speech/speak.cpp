#include "speech/speak.h"

#include <windows.h>

#include <cstring>

#include "library/settings.h"
#include "retrieval/sjis.h"
#include "speech/screenreaders.h"

wchar_t NvdaMessageSlot[NvdaMessageSlotLength];
volatile int32_t BrailleOutput = 0;

namespace {

constexpr int EnginePcTalker = 1;
constexpr int EngineNvda = 2;
constexpr UINT ShiftJis = 932;

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
        int needed = MultiByteToWideChar(ShiftJis, 0, text, bytes, nullptr, 0);
        if (needed <= 0) return;
        if (static_cast<size_t>(needed) <= room) {
            MultiByteToWideChar(ShiftJis, 0, text, bytes, out, needed);
            return;
        }
        // Some characters took more than one unit: drop at least the excess and try again.
        size_t excess = static_cast<size_t>(needed) - room;
        chars = excess >= chars ? 0 : chars - excess;
    }
}

}  // namespace

unsigned long __stdcall NvdaSpeakThread(void* delayMs) {
    int delay = static_cast<int>(reinterpret_cast<intptr_t>(delayMs));
    if (delay > 0) Sleep(static_cast<DWORD>(delay));
    NvdaCancel();
    wchar_t message[NvdaMessageSlotLength];
    AcquireSRWLockShared(&SlotLock);
    memcpy(message, NvdaMessageSlot, sizeof message);
    ReleaseSRWLockShared(&SlotLock);
    NvdaSpeak(message);
    do {
        Sleep(10);
    } while (NvdaIsSpeaking());
    return 0;
}

namespace {

// SpeakMessage; with keepThread, the NVDA speaking thread's handle is returned open.
HANDLE Speak(const char* text, int delayMs, bool keepThread) {
    HANDLE kept = nullptr;
    if (!text) text = "";
    if (delayMs < 0) delayMs = 0;
    switch (Settings.SpeechEngine) {
        case EnginePcTalker:
            if (!PcTalkerPresent()) break;
            PcTalkerSpeak(text);
            Sleep(static_cast<DWORD>(delayMs));
            break;
        case EngineNvda: {
            static_assert(NvdaMessageSlotLength * sizeof(wchar_t) == 20480, "slot of 20,480 bytes");
            wchar_t message[NvdaMessageSlotLength] = {};
            ConvertForNvda(text, message);
            AcquireSRWLockExclusive(&SlotLock);
            memcpy(NvdaMessageSlot, message, sizeof message);
            ReleaseSRWLockExclusive(&SlotLock);
            if (BrailleOutput == 1) NvdaBraille(message);
            HANDLE thread = CreateThread(nullptr,
                                         0,
                                         NvdaSpeakThread,
                                         reinterpret_cast<void*>(static_cast<intptr_t>(delayMs)),
                                         0,
                                         nullptr);
            if (thread && keepThread)
                kept = thread;
            else if (thread)
                CloseHandle(thread);
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

void WaitWhileNvdaSpeaks() {
    Sleep(100);
    while (NvdaIsSpeaking()) Sleep(10);
}
