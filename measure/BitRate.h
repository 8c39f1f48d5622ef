#pragma once
// The bit-rate estimate of a decomposition: code lengths for the block sizes, the model kinds,
// the cut lines and the gray values along the serpentine scan, per pixel.

#include <cstdint>

#include "linesearch/LineSearch.h"

// log2 as the estimate computes it: log10(x) / log10(2) in double precision.
double Log2(double x);

// Bits of a value-difference symbol: 1 for 0, else the count of significant bits (1..8).
int SymbolBits(std::uint8_t symbol);
// Class of a symbol: 1 for 0 and 1, 2 for 2..7, 3 for 8..127, 4 for 128..255.
int SymbolClass(std::uint8_t symbol);

// The estimated bits per pixel of `tree` (a tree made from a picture, whose leaves know their
// one-value mean) after a search through `groupCount` size groups.
double EstimateBitRate(const Quadtree& tree, std::int32_t groupCount);
inline double EstimateBitRate(const Decomposition& decomposition) {
    return EstimateBitRate(decomposition.tree, decomposition.groupCount);
}
