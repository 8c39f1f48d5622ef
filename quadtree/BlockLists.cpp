#include "quadtree/BlockLists.h"

std::vector<QuadBlock> g_blocks;
std::vector<CutModel> g_cutModels;
double g_penalty = 0.0;
std::int32_t g_groupCount = 0;
