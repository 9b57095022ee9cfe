// The recording dialog: the list of reservations with editing and deleting, the start of the
// conversion with its progress dialog, and the way to the recording settings and the output
// folder.
#pragma once
#include <windows.h>

// Runs the recording dialog over owner (the main window, which also owns the progress dialog)
// for the reservations under dataFolder; the converter lies under programFolder.
void RunRecordingDialog(HWND owner, const char* dataFolder, const char* programFolder);

// The open recording dialog and its progress dialog, null when not open.
extern HWND RecordingDialog;
extern HWND ProgressDialog;
