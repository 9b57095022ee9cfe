// TBAudio: turns one PCM wave file into an MP3 file with the system's own MP3 encoder.
//
//   TBAudio.exe "in.wav" "out.mp3"
//
// (as its command line reads when started: the program's own path in quotes, then the two
// files). It opens no window. On success the MP3 file exists and the exit code is 0; on any
// failure the exit code says why and no output file is left behind (an existing file of that
// name stays as it was).
#pragma once

enum TBAudioExit {
    TBAudioDone = 0,
    TBAudioUsage = 1,           // not exactly two file arguments
    TBAudioBadInput = 2,        // input missing, unreadable or not 16-bit PCM the encoder takes
    TBAudioNoEncoder = 3,       // the system offers no MP3 encoder
    TBAudioEncoderRefused = 4,  // the encoder declined the input's sample layout
    TBAudioWriteFailed = 5      // encoding or writing the output failed part way
};
