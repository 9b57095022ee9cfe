// Where the recording keeps its files, all formed into fixed buffers: the reservations in
// "NewsText" and the audio files in "mp3" under the data folder, the converter in the program
// folder, and the converter's command line. Each call returns false, with out empty, when the
// result would not fit into capacity bytes; nothing is ever cut short.
#pragma once
#include <cstddef>

constexpr std::size_t RecordPathCapacity = 261;
constexpr std::size_t ConverterCommandCapacity = 552;

// "<data>\NewsText\<title>": the path a reservation is written to before the text-file name
// rule adds ".txt".
bool ReservationBasePath(const char* dataFolder, const char* title, char* out, std::size_t capacity);
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

// Whether a file title (after the name rule) can name a file of its own: it is not empty and
// holds none of \ : " | and no control character. A colon would otherwise write into a hidden
// stream of another file, a backslash into a folder that does not exist. Shift-JIS aware, so
// a trail byte 0x5C (as in 表) is not taken for a backslash.
bool IsStorableFileTitle(const char* title);
