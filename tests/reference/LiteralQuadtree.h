#pragma once
// A plain, direct implementation of the quadtree decomposition: every block summed pixel
// by pixel in double precision, as the method is written. Tests compare the engine with it.

#include <cstdint>
#include <vector>

#include "picture/Picture.h"
#include "reference/LiteralRecords.h"

namespace zantrel {

struct LiteralQuadtree {
    std::vector<LiteralBlock> blocks;
    GrayPicture grid;  // the picture's size: border and split lines 128 on 255
};

// The decomposition of `gray` of any size under `penalty` with `minBlockSize`.
LiteralQuadtree LiteralQuadtreeDecompose(const GrayPicture& gray, double penalty,
                                         std::int32_t minBlockSize);

// A width x height picture with every block filled with its mean.
GrayPicture LiteralBlockPicture(int width, int height, const std::vector<LiteralBlock>& blocks);

}  // namespace zantrel
