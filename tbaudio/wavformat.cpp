#include "tbaudio/wavformat.h"

#include <cstring>

namespace {

uint32_t Le32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t Le16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }

constexpr uint16_t WaveFormatPcm = 1;

bool SupportedRate(uint32_t rate) { return rate == 32000 || rate == 44100 || rate == 48000; }

}  // namespace

WavCheck ParseWavHeader(const unsigned char* head, std::size_t headSize, uint64_t fileSize,
                        WavPcmLayout* out) {
    if (headSize > fileSize) headSize = static_cast<std::size_t>(fileSize);
    if (headSize < 12 || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0)
        return WavCheck::NotWave;

    bool haveFormat = false;
    uint16_t tag = 0, channels = 0, blockAlign = 0, bits = 0;
    uint32_t rate = 0;
    std::size_t pos = 12;
    while (headSize - pos >= 8) {
        const unsigned char* chunk = head + pos;
        uint64_t size = Le32(chunk + 4);
        pos += 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || headSize - pos < 16) return WavCheck::NotWave;
            tag = Le16(head + pos);
            channels = Le16(head + pos + 2);
            rate = Le32(head + pos + 4);
            blockAlign = Le16(head + pos + 12);
            bits = Le16(head + pos + 14);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) return WavCheck::NotWave;
            if (tag != WaveFormatPcm) return WavCheck::NotPcm;
            if (bits != 16 || (channels != 1 && channels != 2) || blockAlign != channels * 2 ||
                !SupportedRate(rate))
                return WavCheck::Unsupported;
            // A writer that never finished the header leaves the size too large (or 0xFFFFFFFF):
            // take what the file holds.
            uint64_t available = fileSize - pos;
            if (size > available) size = available;
            out->channels = channels;
            out->sampleRate = static_cast<int>(rate);
            out->bitsPerSample = bits;
            out->blockAlign = blockAlign;
            out->dataOffset = pos;
            out->dataSize = size - size % blockAlign;
            return WavCheck::Ok;
        }
        // Chunks are padded to an even length.
        uint64_t skip = size + (size & 1);
        if (skip > headSize - pos) return WavCheck::NotWave;
        pos += static_cast<std::size_t>(skip);
    }
    return WavCheck::NotWave;
}
