#include "recording/recordsummary.h"

#include <cstdio>

void ConversionSummaryText(const ConversionTally& tally, char* out, std::size_t capacity) {
    if (capacity == 0) return;
    std::size_t used = 0;
    auto append = [&](int written) {
        if (written > 0) used += static_cast<std::size_t>(written);
        if (used >= capacity) used = capacity - 1;
    };
    append(std::snprintf(out, capacity, "録音作業が終了しました。"));
    if (tally.notRecorded > 0)
        append(std::snprintf(out + used,
                             capacity - used,
                             "\n%d件中%d件の記事は録音できませんでした。予約はそのまま残っています。",
                             tally.total,
                             tally.notRecorded));
    if (tally.notConverted > 0)
        append(std::snprintf(
            out + used,
            capacity - used,
            "\n%d件中%d件の記事はMP3ファイルに変換できなかったため、Waveファイルのまま保存しました。",
            tally.total,
            tally.notConverted));
}
