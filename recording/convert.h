// The conversion of the reservations into audio files: a worker thread renders each
// reservation into a wave file through the speech library and, for the MP3 format, has the
// converter program turn the wave file into an MP3 file.
#pragma once
#include <windows.h>

#include "recording/recordformat.h"

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

// Renders text into the wave file at wavePath. The library is not re-entrant, so the voice
// test and the conversion take turns here. True when a new, non-empty wave file came out (a
// file of that name from earlier that the rendering left untouched does not count).
bool RenderWaveFile(const wchar_t* wavePath, const wchar_t* text, HWND owner, const RecordingVoiceArgs& args);

// What became of one reservation.
enum ReservationOutcome {
    ReservationConverted,     // its audio file is there; its text file is gone
    ReservationNotRecorded,   // no wave file came out (or its text was gone): the reservation stays
    ReservationNotConverted,  // the converter failed or made no MP3 file: the wave file stays
    ReservationStoppedAsWave  // an abort came before the converter: the wave file stays
};

// Sent by the worker to the recording dialog, whose window thread updates the list:
// after each reservation, wParam the ReservationOutcome, lParam the reservation's name
// (const char*, valid during the call);
constexpr UINT ReservationDoneMessage = WM_APP + 0x60;
// once at the end, wParam 1 when stopped by an abort, lParam the ConversionTally (valid
// during the call).
constexpr UINT ConversionEndMessage = WM_APP + 0x61;

// The reservation list of the recording dialog that the worker reads at its start.
constexpr int ReservationListId = 103;

// Thread procedure; the argument is the recording dialog. Converts the reservations its list
// shows when the thread starts, in that order.
DWORD WINAPI ConvertReservations(LPVOID dialog);

// Clears AbortRequest and starts ConvertReservations for dialog. False when no thread could
// be started.
bool StartConversion(HWND dialog);
