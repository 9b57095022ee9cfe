// Drives the converter's wave-header reader with hostile heads and file sizes: whatever the
// chunks claim, a layout it accepts lies within the head and the file, holds whole frames
// only and is one the encoder is given.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tbaudio/wavformat.h"

namespace {

// Names the broken rule before the fuzzer reports the input.
#define Check(ok) \
    ((ok) ? (void)0 : (std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #ok), std::abort()))

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    // The file is usually longer than the head read from it, now and then shorter (a file
    // that shrank between its size and its read).
    const uint8_t shape = in.ConsumeIntegral<uint8_t>();
    const uint64_t extra = in.ConsumeIntegral<uint32_t>();
    const std::vector<unsigned char> head = in.ConsumeRemainingBytes<unsigned char>();
    uint64_t fileSize = head.size();
    if (shape & 1) fileSize += (shape & 2) ? extra : extra % 64;
    else if (shape & 2) fileSize -= fileSize > 0 ? extra % (fileSize + 1) : 0;

    // Exactly as large as the head, so a read past it is reported.
    std::vector<unsigned char> exact(head);
    WavPcmLayout layout = {};
    if (ParseWavHeader(exact.data(), exact.size(), fileSize, &layout) != WavCheck::Ok) return 0;
    Check(layout.bitsPerSample == 16 && (layout.channels == 1 || layout.channels == 2));
    Check(layout.blockAlign == layout.channels * 2);
    Check(layout.sampleRate == 32000 || layout.sampleRate == 44100 || layout.sampleRate == 48000);
    Check(layout.dataOffset <= head.size() && layout.dataOffset <= fileSize);
    Check(layout.dataSize <= fileSize - layout.dataOffset);
    Check(layout.dataSize % static_cast<uint64_t>(layout.blockAlign) == 0);
    return 0;
}
