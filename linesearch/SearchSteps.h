#pragma once
// What the cut-line search costs, counted in line-pricing steps: an axis cut priced on one
// block is one step, an oblique line one step for its fit plus one per row (or column) of the
// block whose prefix it sums, which is the smaller of its row and column spans. Progress
// positions and the time prediction both count these, so that they follow the work and not
// the number of blocks.

#include <cstdint>
#include <vector>

namespace zantrel {

// The oblique steps on one block of side n from first end point i (an index of
// MakeBorderPoints(n)) to every later point.
std::int64_t ObliqueStepsFrom(int n, int i);

// steps[i] = the oblique steps on one block of side n before first end point i, for
// i = 0 .. 4n - 1 (the last is the block's whole oblique search).
void ObliqueStepsBefore(int n, std::vector<std::int64_t>& steps);

// Every step of one block of side n: its axis cuts and its oblique lines. O(n^2).
std::int64_t BlockSearchSteps(int n);

// BlockSearchSteps(n) up to side 1024, scaled from side 1024 above it (the lines by n^2, their
// rows by n^3, within 0.1 %), so that a caller can ask before a run without waiting.
double EstimatedBlockSearchSteps(int n);

}  // namespace zantrel
