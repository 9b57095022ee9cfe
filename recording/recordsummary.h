// What the user is told when a batch of recordings has ended.
#pragma once
#include <cstddef>

struct ConversionTally {
    int total;         // reservations taken up
    int notRecorded;   // no wave file came out: the reservation stays
    int notConverted;  // the wave file came out but no MP3 file: the wave file stays
};

constexpr std::size_t ConversionSummaryCapacity = 512;

// "録音作業が終了しました。", followed by a line for each kind of failure with its count.
void ConversionSummaryText(const ConversionTally& tally, char* out, std::size_t capacity);

inline bool ConversionFailed(const ConversionTally& tally) {
    return tally.notRecorded > 0 || tally.notConverted > 0;
}
