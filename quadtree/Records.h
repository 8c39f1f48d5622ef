#pragma once
// Plain value records shared by the quadtree, the line search and the measures.

#include <cstdint>

namespace zantrel {

// One square leaf block of the quadtree; covers rows row..row+size-1 and columns
// col..col+size-1 of the picture (row 0 is the bottom row).
struct QuadBlock {
    std::int32_t row;
    std::int32_t col;
    std::int32_t size;
    std::uint8_t mean;       // the block's mean rounded half up
    double cost;             // penalty + squared error / 512 of the one-value model
    std::int32_t modelKind;  // 0 = one value, 1 = a cut model was chosen
    std::int32_t cutIndex;   // position in the cut models when modelKind is 1
};

// The two-region model of one block. End points are block-local (row offset, column
// offset), each 0..size. Side A is the side of the larger row or column offsets.
struct CutModel {
    std::int32_t row;
    std::int32_t col;
    std::int32_t size;
    double p1Row;
    double p1Col;
    double p2Row;
    double p2Col;
    std::uint8_t meanA;
    std::uint8_t meanB;
    double cost;              // best cost so far; the one-value cost until a cut wins
    std::int32_t chosen;      // 1 once a cut line beat the one-value model
    std::int32_t blockIndex;  // position of the block in the size-sorted block list
};

// One pixel of a block, as block-local offsets.
struct PixelPos {
    std::int32_t row;
    std::int32_t col;
};

}  // namespace zantrel
