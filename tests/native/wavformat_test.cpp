// The converter's reading of wave headers: what the speech library writes, what other writers
// add, and headers that lie.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tbaudio/wavformat.h"

namespace {

void Put16(std::string& s, uint16_t v) {
    s += char(v & 0xFF);
    s += char(v >> 8);
}

void Put32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; i++) s += char((v >> (8 * i)) & 0xFF);
}

std::string Chunk(const char* id, const std::string& body, uint32_t declared) {
    std::string s(id, 4);
    Put32(s, declared);
    s += body;
    if (body.size() & 1) s += '\0';
    return s;
}

std::string Chunk(const char* id, const std::string& body) {
    return Chunk(id, body, static_cast<uint32_t>(body.size()));
}

std::string Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, bool withExtraSize = true) {
    std::string f;
    uint16_t align = uint16_t(channels * bits / 8);
    Put16(f, tag);
    Put16(f, channels);
    Put32(f, rate);
    Put32(f, rate * align);
    Put16(f, align);
    Put16(f, bits);
    if (withExtraSize) Put16(f, 0);  // WAVEFORMATEX's cbSize, as the speech library writes it
    return f;
}

std::string Riff(const std::string& chunks) {
    std::string s = "RIFF";
    Put32(s, static_cast<uint32_t>(4 + chunks.size()));
    return s + "WAVE" + chunks;
}

WavCheck Parse(const std::string& file, WavPcmLayout* layout, uint64_t fileSize = UINT64_MAX) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());
    return ParseWavHeader(bytes, file.size(), fileSize == UINT64_MAX ? file.size() : fileSize, layout);
}

TEST(WavFormat, FindsTheSamplesOfTheHeadersWritersProduce) {
    WavPcmLayout layout = {};
    // The recording format: 44,100 Hz, 16-bit stereo, an 18-byte format chunk.
    std::string samples(4000, '\x01');
    ASSERT_EQ(WavCheck::Ok,
              Parse(Riff(Chunk("fmt ", Format(1, 2, 44100, 16)) + Chunk("data", samples)), &layout));
    EXPECT_EQ(2, layout.channels);
    EXPECT_EQ(44100, layout.sampleRate);
    EXPECT_EQ(4, layout.blockAlign);
    EXPECT_EQ(46u, layout.dataOffset);
    EXPECT_EQ(4000u, layout.dataSize);

    // A 16-byte format chunk and an odd-sized chunk (padded to even) before the samples.
    std::string file = Riff(Chunk("fmt ", Format(1, 1, 48000, 16, false)) + Chunk("LIST", "abc") +
                            Chunk("data", std::string(10, '\x02')));
    ASSERT_EQ(WavCheck::Ok, Parse(file, &layout));
    EXPECT_EQ(12u + 8 + 16 + 8 + 4 + 8, layout.dataOffset);
    EXPECT_EQ(10u, layout.dataSize);
}

TEST(WavFormat, SampleCountNeverReachesPastTheFileOrSplitsAFrame) {
    WavPcmLayout layout = {};
    // An unfinished header (size 0xFFFFFFFF) over 1,001 bytes: 250 stereo frames.
    std::string file =
        Riff(Chunk("fmt ", Format(1, 2, 44100, 16)) + Chunk("data", std::string(1001, 'x'), ~0u));
    ASSERT_EQ(WavCheck::Ok, Parse(file, &layout));
    EXPECT_EQ(1000u, layout.dataSize);
    // The caller passes only the head of a long file: the size comes from the file.
    std::string head = Riff(Chunk("fmt ", Format(1, 2, 44100, 16)) + Chunk("data", "", 8000000));
    ASSERT_EQ(WavCheck::Ok, Parse(head, &layout, head.size() + 8000000));
    EXPECT_EQ(8000000u, layout.dataSize);
}

TEST(WavFormat, RefusesWhatTheEncoderCannotTake) {
    WavPcmLayout layout = {};
    auto withFormat = [](const std::string& format) {
        return Riff(Chunk("fmt ", format) + Chunk("data", "abcd"));
    };
    EXPECT_EQ(WavCheck::NotPcm, Parse(withFormat(Format(3, 2, 44100, 32)), &layout));  // float
    EXPECT_EQ(WavCheck::Unsupported,
              Parse(withFormat(Format(1, 1, 16000, 16)), &layout));  // the Wave setting
    EXPECT_EQ(WavCheck::Unsupported, Parse(withFormat(Format(1, 2, 44100, 8)), &layout));
    EXPECT_EQ(WavCheck::Unsupported, Parse(withFormat(Format(1, 6, 48000, 16)), &layout));
    std::string badAlign = Format(1, 2, 44100, 16);
    badAlign[12] = 3;
    EXPECT_EQ(WavCheck::Unsupported, Parse(withFormat(badAlign), &layout));
}

TEST(WavFormat, BrokenHeadersAreNotWaves) {
    WavPcmLayout layout = {};
    std::string fmt = Chunk("fmt ", Format(1, 2, 44100, 16));
    std::string data = Chunk("data", "abcd");
    EXPECT_EQ(WavCheck::NotWave, Parse("", &layout));
    EXPECT_EQ(WavCheck::NotWave, Parse("ID3\x03 not a wave at all", &layout));
    EXPECT_EQ(WavCheck::NotWave, Parse(Riff(data + fmt), &layout));  // samples before their format
    EXPECT_EQ(WavCheck::NotWave, Parse(Riff(fmt), &layout));         // no samples
    EXPECT_EQ(WavCheck::NotWave, Parse(Riff(Chunk("fmt ", "short")), &layout));
    // A chunk claiming more than the head holds, and every truncation of a good file.
    EXPECT_EQ(WavCheck::NotWave, Parse(Riff(Chunk("LIST", "ab", 0xFFFFFFF0u) + fmt + data), &layout));
    std::string good = Riff(fmt + data);
    for (size_t n = 0; n < good.size() - 4; n++)
        EXPECT_EQ(WavCheck::NotWave, Parse(good.substr(0, n), &layout)) << "first " << n << " bytes";
}

}  // namespace
