#pragma once
// The block lists that outlast a command: the leaves of the last quadtree decomposition
// and the cut models chosen by the last line search.

#include <cstdint>
#include <vector>

#include "quadtree/Records.h"

extern std::vector<QuadBlock> g_blocks;
extern std::vector<CutModel> g_cutModels;
extern double g_penalty;           // penalty factor of the last decomposition
extern std::int32_t g_groupCount;  // size groups formed by the last line search
