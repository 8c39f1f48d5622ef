#pragma once
// The quadtree decomposition of a gray picture of any size. The root is the smallest
// power-of-two square that covers the picture, anchored at row 0, column 0 (the bottom-left
// corner). A block is split into its four quarters when they cost less than the block; a
// block that straddles the picture's edge is always split, whatever its cost and even below
// the minimum block size, and a block wholly outside the picture is dropped, so every leaf
// lies wholly inside. Costs are penalty + squared error / 512 on every picture.

#include <cstdint>
#include <vector>

#include "picture/Picture.h"
#include "quadtree/Records.h"
#include "quadtree/SummedTables.h"

namespace zantrel {

struct Quadtree {
    int width = 0;
    int height = 0;
    double penalty = 0.0;
    std::int32_t minBlockSize = 0;
    // The leaves, breadth-first by level, each with modelKind 0.
    std::vector<QuadBlock> blocks;
    // The bare grid, width x height: the picture's border and the split lines of every split
    // block in 128 on 255.
    GrayPicture grid;
};

struct BlockMeasure {
    std::uint8_t mean;  // the exact mean rounded half up
    double error;       // squared error about the exact mean / 512
};

// The one-value model of the square block (row, col, size), which must lie inside the picture.
BlockMeasure MeasureBlock(const SummedTables& sums, int row, int col, int size);

// The quadtree of the picture whose tables are `sums`, under `penalty` (>= 0) with
// `minBlockSize` in 1..128 (only a power of two stops the split).
Quadtree DecomposeQuadtree(const SummedTables& sums, double penalty, std::int32_t minBlockSize);

// The side of the quadtree's root for a width x height picture.
int RootSide(int width, int height);

}  // namespace zantrel
