// The recording settings dialog (voice, volume, speed, pitch, title line, format) and its
// voice test.
#pragma once
#include <windows.h>

// Runs the dialog over owner; OK stores the six settings. The voice test's file is made in
// dataFolder.
void RunRecordingSettings(HWND owner, const char* dataFolder);

// 1 while a voice test runs; a second one is not started meanwhile.
extern volatile LONG VoiceTestRunning;
