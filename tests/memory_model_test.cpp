// The optimised mode's memory model is an upper bound on what zantrel-cli really holds at its
// peak: noise at penalty 0 keeps a leaf of the smallest side everywhere, the worst case, and
// sizes just above a power of two and a rate search hold the most. The peaks were measured on the
// development machine (`/usr/bin/time -v zantrel-cli --import noise.png --optimise --penalty 0
// --min-block N`, README); a model below any of them lets a run start that then runs out.

#include <gtest/gtest.h>

#include <cstdint>

#include "picture/Picture.h"

namespace zantrel {

namespace {

TEST(OptimisedMemory, TheModelBoundsTheMeasuredPeaks) {
    struct Peak {
        int side;
        std::int32_t minBlockSize;
        const char* run;
        std::uint64_t kilobytes;  // the largest resident size
    };
    const Peak peaks[] = {
        {513, 1, "penalty 0", 132000},  {513, 2, "penalty 0", 70860},
        {1024, 1, "penalty 0", 348112}, {1025, 1, "penalty 0", 406300},
        {1024, 1, "--rate 8", 408880},  {1025, 1, "--rate 8", 468176},
        {1025, 2, "penalty 0", 206052}, {2049, 1, "penalty 0", 1387820},
    };
    for (const Peak& p : peaks) {
        SCOPED_TRACE(testing::Message()
                     << p.side << "², minimum block " << p.minBlockSize << ", " << p.run);
        const std::uint64_t model = OptimisedBytesFor(p.side, p.side, p.minBlockSize);
        EXPECT_GE(model, p.kilobytes * 1024);
        // Not far above the worst either: a loose bound refuses what fits.
        EXPECT_LE(model, p.kilobytes * 1024 * 2);
    }
}

}  // namespace

}  // namespace zantrel
