#pragma once
// The 4n lattice points on the border of an n x n block, in the order the oblique search
// tries them: the row-0 side, the row-n side, then the column-0 and column-n sides without
// their corners. The order decides which of two equally good lines wins.

#include <optional>
#include <vector>

#include "quadtree/CutLine.h"

namespace zantrel {

std::vector<LatticePoint> MakeBorderPoints(int n);

// Point `index` (0 .. 4n - 1) of MakeBorderPoints(n), without making the list.
LatticePoint BorderPointAt(int n, int index);

// The index of the lattice point (row, col) in MakeBorderPoints(n); nothing for a point that
// is not on the border.
std::optional<int> BorderIndex(int n, int row, int col);

}  // namespace zantrel
