// Speech output: every announcement goes through SpeakMessage to the screen reader the user
// chose (Settings.SpeechEngine, a SpeechEngineId), and to the braille display through NVDA
// while BrailleOutput is 1. Only speech/ looks at the engine: code elsewhere that must not go
// on before an announcement has been heard calls SpeakAndWait (or SpeakMessageTracked and
// later WaitUntilHeard) instead of asking which screen reader runs.
#pragma once
#include <cstdint>

#include "library/settings.h"

// The latest message for NVDA, UTF-16 and always terminated. Speaking threads speak whatever
// it holds when their delay has run out, so the latest message wins.
constexpr int NvdaMessageSlotLength = 10240;
extern wchar_t NvdaMessageSlot[NvdaMessageSlotLength];

// 1 while every message is also shown on the braille display. 0 at start, never stored.
extern volatile int32_t BrailleOutput;

// Speaks a Shift-JIS text. PC-Talker: speaks at once, then holds the caller for delayMs.
// NVDA: returns at once; a speaking thread interrupts NVDA and speaks after delayMs.
// Returns 1.
int SpeakMessage(const char* text, int delayMs);

// SpeakMessage for a caller that must not go on before the message has been said. Under NVDA
// it returns the handle of the speaking thread, which ends once NVDA has fallen silent after
// the message (the caller waits on it and closes it); nullptr otherwise, PC-Talker having held
// the caller already.
void* SpeakMessageTracked(const char* text, int delayMs);

// Waits for a message of SpeakMessageTracked to have been heard, then closes its handle.
// Returns at once for nullptr.
void WaitUntilHeard(void* tracked);

// Speaks text and returns once it has been heard. NVDA: spoken after delayMs, and the call
// returns when NVDA has fallen silent (WaitWhileNvdaSpeaks). PC-Talker: spoken at once and the
// caller held for holdMs (delayMs when holdMs is -1). No engine: returns at once.
void SpeakAndWait(const char* text, int delayMs, int holdMs = -1);

// The count of a received headline list, "受信した見出しはN件です", and "。新着M件" after it
// when newCount is not negative. Under PC-Talker the first title follows (not for a radio
// list, nor for an empty one).
void AnnounceHeadlineCount(int count, bool radio, const char* firstTitle, int newCount = -1);

// The engine messages go to now.
SpeechEngineId CurrentSpeechEngine();

// Waits 100 ms, then until NVDA falls silent.
void WaitWhileNvdaSpeaks();

// Speaks text under PC-Talker only, for what NVDA reports by itself but PC-Talker does not: a
// selection the program moves in a list, a popup menu the program opens.
void SpeakForPcTalker(const char* text, int delayMs);
