#pragma once
// The bit-rate estimate of a decomposition: code lengths for the block sizes, the model kinds,
// the cut lines and the gray values along the serpentine scan, per pixel.

#include <cstdint>

#include "linesearch/LineSearch.h"

namespace zantrel {

// The estimated bits per pixel of `tree` (a tree made from a picture, whose leaves know their
// one-value mean) after a search through `groupCount` size groups.
double EstimateBitRate(const Quadtree& tree, std::int32_t groupCount);
inline double EstimateBitRate(const Decomposition& decomposition) {
    return EstimateBitRate(decomposition.tree, decomposition.groupCount);
}

}  // namespace zantrel
