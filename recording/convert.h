// The conversion of the reservations into audio files: a worker thread renders each
// reservation into a wave file through the speech library and, for the MP3 format, has the
// converter program turn the wave file into an MP3 file.
#pragma once
#include <windows.h>

#include "recording/recordformat.h"
#include "recording/recordpaths.h"
#include "recording/recordsummary.h"

// The speech library's rendering call (UTF-16 texts owned by the caller for the call). It is
// reached through this pointer so that a test can stand in for the library.
using RecSapiCall = int(__cdecl*)(const wchar_t* wavPath, const wchar_t* text, HWND owner, int voice,
                                  int volume, int rate, int pitch, int isFileName, int isXml, int closeOnly,
                                  int formatCode);
struct RecordingSpeechCalls {
    RecSapiCall RecSAPI;
};
extern RecordingSpeechCalls RecordingSpeech;

// Set to 1 by the window thread when the user closes the progress dialog: the worker stops
// after the reservation in progress and clears it.
extern volatile LONG AbortRequest;

// Renders text into the wave file at wavePath (both Shift-JIS). The voice test and the
// conversion take turns here. True when a new, non-empty wave file came out (a file of that
// name from earlier that the rendering left untouched does not count).
bool RenderWaveFile(const char* wavePath, const char* text, HWND owner, const RecordingVoiceArgs& args);

// What became of one reservation.
enum ReservationOutcome {
    ReservationConverted,     // its audio file is there; its text file is gone
    ReservationNotRecorded,   // no wave file came out (or its text was gone): the reservation stays
    ReservationNotConverted,  // the converter failed or made no MP3 file: the wave file stays
    ReservationStoppedAsWave  // an abort came before the converter: the wave file stays
};

// The worker reports to the recording dialog as its controls do, with WM_COMMAND (sent, so
// the dialog has handled it when the worker goes on): IDC_RECORDING_ITEM_DONE with the
// ReservationOutcome as notification code after each reservation, then IDC_RECORDING_FINISHED
// with code 1 when an abort stopped it, 0 otherwise. LastConversion holds the counts by then.
extern ConversionTally LastConversion;

struct ConversionJob {
    HWND dialog;  // the recording dialog, whose list (IDC_RECORDING_LIST) names the reservations
    char dataFolder[RecordPathCapacity];
    char programFolder[RecordPathCapacity];
};

// The worker: converts the reservations the dialog's list shows when it starts, in that order.
void ConvertReservations(ConversionJob& job);

// Clears AbortRequest and starts ConvertReservations. False when no thread could be started or
// a folder name is too long.
bool StartConversion(HWND dialog, const char* dataFolder, const char* programFolder);
