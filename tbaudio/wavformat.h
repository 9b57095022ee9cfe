// The layout of a PCM wave file as the converter reads it: the format chunk and where the
// samples lie. Portable, so that hostile or broken headers are tested natively.
#pragma once
#include <cstddef>
#include <cstdint>

struct WavPcmLayout {
    int channels;
    int sampleRate;
    int bitsPerSample;
    int blockAlign;
    uint64_t dataOffset;  // first byte of the samples in the file
    uint64_t dataSize;    // whole sample frames only, never past the end of the file
};

enum class WavCheck {
    Ok,
    NotWave,     // no RIFF/WAVE header, no format chunk, or no data chunk in the head
    NotPcm,      // a compressed or floating-point format
    Unsupported  // PCM, but not 16-bit mono or stereo at 32,000, 44,100 or 48,000 Hz
};

// How many bytes of the file's start ParseWavHeader wants to see: the format chunk and the
// start of the data chunk must lie within them.
constexpr std::size_t WavHeadBytes = 65536;

// Reads the chunks in head (the first headSize bytes of a file of fileSize bytes).
WavCheck ParseWavHeader(const unsigned char* head, std::size_t headSize, uint64_t fileSize,
                        WavPcmLayout* out);
