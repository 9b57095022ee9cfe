// TBSpeech.dll: SAPI 5 text-to-speech for Tavlo. The program links against it at load time
// and uses it to list the installed voices and to render texts into WAV files.
//
// Every export is a plain C function (__cdecl, exported without decoration) that returns 1
// whatever happens; texts are UTF-16 and stay the caller's. A voice is addressed by its
// position in SAPI's enumeration of the installed voices.
#pragma once
#include <windows.h>

#ifdef TBSPEECH_BUILDING
#define TBSPEECH_API extern "C"
#else
#define TBSPEECH_API extern "C" __declspec(dllimport)
#endif

// Initialises COM for the calling thread and creates the playback voice.
TBSPEECH_API int __cdecl OpenSAPI();
// Releases the playback voice and undoes OpenSAPI's COM initialisation; nothing without it.
TBSPEECH_API int __cdecl CloseSAPI();
// Adds the descriptions of the installed voices to a combo box (item data: the voice index)
// and selects the first. Needs COM on the calling thread (OpenSAPI).
TBSPEECH_API int __cdecl GetVoiceSAPI(HWND comboBox);
// Sets voice, volume (0-100), rate (-10-10) and middle pitch (-10-10) of the playback voice.
TBSPEECH_API int __cdecl SetSAPI(HWND owner, int voiceIndex, int volume, int rate, int pitch);
// Speaks text (or the text file it names) through the playback voice.
TBSPEECH_API int __cdecl PlaySAPI(const wchar_t* text, int isFileName, int synchronous, int isXml);
TBSPEECH_API int __cdecl PauseSAPI();
TBSPEECH_API int __cdecl ResumeSAPI();
// Discards whatever the playback voice still has to say.
TBSPEECH_API int __cdecl StopSAPI();
// Renders text into a new WAV file at wavPath; returns when the file is complete and closed.
// Self-contained (needs no OpenSAPI) and safe to call from several threads: renderings take
// turns. formatCode 1-24 picks the format (11: 16 kHz 16-bit mono, 24: 44.1 kHz 16-bit stereo);
// another code keeps the last one, and without any nothing is rendered. closeOnly 1 renders
// nothing. A voice index without a voice renders with SAPI's default voice.
TBSPEECH_API int __cdecl RecSAPI(const wchar_t* wavPath, const wchar_t* text, HWND owner, int voiceIndex,
                                 int volume, int rate, int pitch, int isFileName, int isXml, int closeOnly,
                                 int formatCode);
