// The text-primitives fuzz target must give the extractors room to copy into, whatever
// page follows the settings in its input.
#include "tests/fuzz/textcut_fuzz_input.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(TextcutFuzzInput, ExtractorOutputsGetRoomBeforeThePageTakesTheRest) {
    int withRoom = 0;
    for (int fill = 0; fill < 256; ++fill) {
        std::vector<uint8_t> data(200, static_cast<uint8_t>(fill));
        const TextcutFuzzInput input = ReadTextcutFuzzInput(data.data(), data.size());
        EXPECT_LE(input.capacityA, 12u);
        EXPECT_LE(input.capacityB, 12u);
        if (input.capacityA > 0 && input.capacityB > 0) ++withRoom;
    }
    // Capacities are drawn from the input, so most inputs give both outputs room.
    EXPECT_GT(withRoom, 128);

}

}  // namespace
