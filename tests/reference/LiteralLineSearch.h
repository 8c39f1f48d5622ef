#pragma once
// Plain, direct implementations of the cut-line search, the reconstruction and the bit-rate
// estimate, written as the method reads: every trial sums its pixels one by one, every
// oblique line divides the grid with the single-precision rule, nothing is shared or
// threaded. They work on the same globals as the engine and report through the same shell,
// so a test can run both on equal inputs and compare everything.

#include <vector>

#include "quadtree/Records.h"

// The single-precision division of an n x n grid by the line (row1, col1)-(row2, col2):
// true for the pixels on side B, row by row.
std::vector<bool> LiteralSideB(double row1, double col1, double row2, double col2, int n);

void LiteralSearchLines();
void LiteralReconstruct();
// The rate shown by the estimate; g_blocks is left in scan order.
double LiteralBitRate();
