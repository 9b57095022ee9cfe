// Speech output: every announcement goes through SpeakMessage to the screen reader the user
// chose (Settings.SpeechEngine: 0 none, 1 PC-Talker, 2 NVDA), and to the braille display
// through NVDA while BrailleOutput is 1.
#pragma once
#include <cstdint>

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

// The speaking thread of one NVDA message; the parameter is the delay in ms.
unsigned long __stdcall NvdaSpeakThread(void* delayMs);

// Waits 100 ms, then until NVDA falls silent. For callers that must not go on before an
// announcement has been heard.
void WaitWhileNvdaSpeaks();
