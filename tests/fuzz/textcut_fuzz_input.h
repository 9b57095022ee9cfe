// How the text-primitives fuzz target reads its input: markers, a start position, the
// room a growing text gets and the capacities of the two extractor outputs are taken
// first, the page is whatever remains.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

struct TextcutFuzzInput {
    std::string markers[4];
    bool hasMarker[4] = {};
    int position = 0;
    std::size_t room = 0;
    std::size_t capacityA = 0;
    std::size_t capacityB = 0;
    std::string text;  // up to its first NUL
};

inline TextcutFuzzInput ReadTextcutFuzzInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    TextcutFuzzInput input;
    for (int i = 0; i < 4; ++i) {
        input.hasMarker[i] = in.ConsumeIntegralInRange<int>(0, 7) != 0;
        if (!input.hasMarker[i]) continue;
        std::string marker = in.ConsumeRandomLengthString(8);
        input.markers[i] = marker.c_str();
    }
    input.position = in.ConsumeIntegralInRange<int>(-2, 64);
    input.room = in.ConsumeIntegralInRange<std::size_t>(0, 32);
    input.capacityA = in.ConsumeIntegralInRange<std::size_t>(0, 12);
    input.capacityB = in.ConsumeIntegralInRange<std::size_t>(0, 12);
    input.text = in.ConsumeRemainingBytesAsString().c_str();
    return input;
}
