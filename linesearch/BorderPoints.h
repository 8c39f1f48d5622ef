#pragma once
// The 4n lattice points on the border of an n x n block, in the order the oblique search
// tries them: the row-0 side, the row-n side, then the column-0 and column-n sides without
// their corners. The order decides which of two equally good lines wins.

#include <optional>
#include <vector>

namespace zantrel {

struct BorderPoint {
    int row;
    int col;
};

std::vector<BorderPoint> MakeBorderPoints(int n);

// Point `index` (0 .. 4n - 1) of MakeBorderPoints(n), without making the list.
BorderPoint BorderPointAt(int n, int index);

// The index of the lattice point (row, col) in MakeBorderPoints(n); nothing for a point that
// is not on the border.
std::optional<int> BorderIndex(int n, int row, int col);

}  // namespace zantrel
