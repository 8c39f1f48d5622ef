#pragma once
// Pieces of the bit-rate estimate, exposed for tests.

#include <cstdint>
#include <vector>

// log2 as the estimate computes it: log10(x) / log10(2) in double precision.
double Log2(double x);

// Bits of a value-difference symbol: 1 for 0, else the count of significant bits (1..8).
int SymbolBits(std::uint8_t symbol);
// Class of a symbol: 1 for 0 and 1, 2 for 2..7, 3 for 8..127, 4 for 128..255.
int SymbolClass(std::uint8_t symbol);

// The estimated rate in bits per pixel of the decomposition in g_blocks (already in scan
// order), g_cutModels and g_groupCount; `symbols` and `runLengths` are working lists.
double BitRateOfScan(std::vector<std::uint8_t>& symbols, std::vector<std::int32_t>& runLengths);
