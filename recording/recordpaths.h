// Where the recording keeps its files, all formed into fixed buffers: the reservations in
// "NewsText" and the audio files in "mp3" under the data folder, the converter in the program
// folder, and the converter's command line. Each call returns false, with out empty, when the
// result would not fit into capacity bytes; nothing is ever cut short.
#pragma once
#include <cstddef>

constexpr std::size_t RecordPathCapacity = 261;
constexpr std::size_t ConverterCommandCapacity = 552;

// "<data>\NewsText": the reservation folder.
bool ReservationFolder(const char* dataFolder, char* out, std::size_t capacity);
// "<data>\NewsText\<name>.txt": the file of a reservation named as the list shows it.
bool ReservationFilePath(const char* dataFolder, const char* name, char* out, std::size_t capacity);
// "<data>\mp3\<name>.wav"
bool RecordingWavePath(const char* dataFolder, const char* name, char* out, std::size_t capacity);
// The wave path with its last four characters replaced by ".mp3".
bool RecordingMp3Path(const char* wavePath, char* out, std::size_t capacity);
// "<program>\TBAudio\TBAudio.exe"
bool ConverterPath(const char* programFolder, char* out, std::size_t capacity);
// "converter" "wave" "mp3", each in double quotes, one space between.
bool ConverterCommandLine(const char* converter, const char* wave, const char* mp3, char* out,
                          std::size_t capacity);
