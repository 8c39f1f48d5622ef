#pragma once
// The optimised mode's search: every dyadic block of the picture that can become a leaf gets
// its best cut line and the fits its models are quantised from, once per picture, whatever the
// rate. Everything here is independent of the penalty, so a new penalty (a sweep point, a
// slider move, a step of the rate search) reuses it.

#include <cstdint>
#include <optional>
#include <vector>

#include "picture/Picture.h"
#include "picture/Progress.h"
#include "quadtree/CutLine.h"
#include "quadtree/SummedTables.h"

namespace zantrel {

// Exact sums of a set of pixels.
struct RegionSums {
    std::int64_t sum = 0;
    std::int64_t squares = 0;
    std::int32_t count = 0;
};

// A region's least-squares ramp before quantisation, in the block coordinates of quadtree/Plane.h
// (u, v from -1/2 to 1/2 across the block), with the region's sums of u and v, from which the
// best centre for quantised gradients follows: (sum - gx * sumU - gy * sumV) / count.
struct RampFit {
    float gx = 0.0f;
    float gy = 0.0f;
    float sumU = 0.0f;
    float sumV = 0.0f;
};

// What the search learnt of one block of side 2 or more.
struct BlockCandidate {
    CutLine line{};               // the best cut line by the two sides' squared error
    std::uint32_t lineIndex = 0;  // the line's code (codec/CutLineCode.h)
    std::uint8_t lineKind = 0;
    RegionSums a, b, on;         // side A without the line's pixels, side B, the line's pixels
    RampFit ramp, rampA, rampB;  // the whole block, side A (with the line), side B
};

// The blocks of one side: a grid of cells, block row by block column from the bottom left.
struct BlockLevel {
    int side = 1;
    int columns = 0;
    int rows = 0;
    std::vector<std::int32_t> candidate;  // per cell: its index in `candidates`, or -1
    std::vector<BlockCandidate> candidates;
};

struct BlockSearchSettings {
    std::int32_t minBlockSize = 4;  // leaves never smaller, but along the picture's edge
    int exhaustiveSide = 64;        // larger blocks get the fast search
    int threads = 0;                // 0: every core
};

struct BlockSearch {
    int width = 0;
    int height = 0;
    BlockSearchSettings settings;
    std::vector<BlockLevel> levels;  // levels[L] holds the blocks of side 2^L up to the root

    // True when a leaf can have side `side` at block (row, col): its parent straddles the
    // picture's edge or is larger than the minimum block size.
    bool MayBeLeaf(int row, int col, int side) const;
};

// Searches every block of `gray` (with tables `sums`) that may become a leaf. Nothing when
// `progress` asks to stop.
std::optional<BlockSearch> SearchEveryBlock(const GrayPicture& gray, const SummedTables& sums,
                                            const BlockSearchSettings& settings,
                                            Progress& progress);

}  // namespace zantrel
