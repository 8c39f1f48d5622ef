#pragma once
// Plain, direct implementations of the cut-line search, the reconstruction, the PSNR and the
// bit-rate estimate, written as the method reads: every trial sums its pixels one by one,
// every oblique line divides the grid with the single-precision rule, nothing is shared or
// threaded. They work on their own records (reference/LiteralRecords.h); the tests convert the
// engine's results to them and compare everything.

#include <vector>

#include "picture/Picture.h"
#include "reference/LiteralRecords.h"

namespace zantrel {

// The single-precision division of an n x n grid by the line (row1, col1)-(row2, col2):
// true for the pixels on side B, row by row.
std::vector<bool> LiteralSideB(double row1, double col1, double row2, double col2, int n);

// The search over `blocks` (any order) of `gray` under `penalty`.
LiteralDecomposition LiteralSearchLines(const GrayPicture& gray, double penalty,
                                        std::vector<LiteralBlock> blocks);

GrayPicture LiteralReconstruct(const GrayPicture& blockPicture,
                               const std::vector<LiteralCut>& cutModels);

// The estimated bits per pixel of a decomposition of a width x height picture.
double LiteralBitRate(const LiteralDecomposition& decomposition, int width, int height);

double LiteralPsnr(const GrayPicture& gray, const GrayPicture& result);

}  // namespace zantrel
