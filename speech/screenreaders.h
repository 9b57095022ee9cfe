// The screen-reader libraries, loaded at run time so that the program starts without them.
// A missing library or function makes its calls do nothing and answer 0.
#pragma once

// Loads the libraries from folder (tests), or by the normal search beside the program when
// folder is null. Replaces the libraries in use; earlier ones stay loaded for threads that may
// still call them. Without a call the libraries are loaded on first use.
void LoadScreenReaders(const char* folder);

// PC-Talker (Shift-JIS text).
int PcTalkerPresent();  // non-zero when present and able to speak
int PcTalkerBusy();     // non-zero while speaking
void PcTalkerSpeak(const char* text);

// NVDA (UTF-16 text). NvdaIsSpeaking is safe with both forms of the client's isSpeaking.
void NvdaSpeak(const wchar_t* text);
void NvdaCancel();
void NvdaBraille(const wchar_t* text);
int NvdaIsSpeaking();
