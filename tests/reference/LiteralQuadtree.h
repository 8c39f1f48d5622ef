#pragma once
// A plain, direct implementation of the quadtree decomposition: every block summed pixel
// by pixel in double precision, as the method is written. Tests compare the engine with it.

#include <cstdint>
#include <vector>

#include "quadtree/Records.h"

struct LiteralQuadtree {
    std::vector<QuadBlock> blocks;
    std::vector<std::uint8_t> grid;  // 512 x 512, borders 128 on 255
};

LiteralQuadtree LiteralQuadtreeDecompose(double penalty, std::int32_t minBlockSize);
