#pragma once
// Pieces of the bit-rate estimate, exposed for tests.

#include <cstdint>
#include <vector>

#include "linesearch/LineSearch.h"
#include "quadtree/Records.h"

namespace zantrel {

// log2 as the estimate computes it: log10(x) / log10(2) in double precision.
double Log2(double x);

// Bits of a value-difference symbol: 1 for 0, else the count of significant bits (1..8).
int SymbolBits(std::uint8_t symbol);
// Class of a symbol: 1 for 0 and 1, 2 for 2..7, 3 for 8..127, 4 for 128..255.
int SymbolClass(std::uint8_t symbol);

// Puts `blocks` into scan order: row groups by first row, bottom up, in a serpentine (columns
// ascending in even groups, descending in odd ones).
void SortBlocksInScanOrder(std::vector<QuadBlock>& blocks);

// The estimated rate in bits per pixel of blocks already in scan order, their cut models and
// the number of size groups, over `pixelCount` pixels.
double BitRateOfScan(const std::vector<QuadBlock>& scan, const std::vector<CutModel>& cutModels,
                     std::int32_t groupCount, double pixelCount);

// The estimated bits per pixel of a decomposition of a width x height picture.
double EstimateBitRate(const Decomposition& decomposition, int width, int height);

}  // namespace zantrel
