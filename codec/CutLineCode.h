#pragma once
// The cut lines a block of side n can receive, numbered so that a file can name one by its
// index. Axis-parallel cuts: position p = 1 .. n - 1 of a constant row or a constant column.
// Oblique lines: the pairs (i, j), i < j, of the block's 4n border points in the search's
// order (see linesearch/BorderPoints.h) whose rows and columns both differ, except the two
// lines that leave side B empty, (0, 1)-(1, 0) and (n, 1)-(n - 1, 0); they are numbered in
// the search's order, i ascending, then j ascending: 6n^2 - 6n lines in all.

#include <cstdint>
#include <optional>

#include "quadtree/Records.h"

namespace zantrel {

// The number of oblique lines of a block of side n >= 2.
std::uint32_t ObliqueLineCount(int n);

// The index of the oblique line from border point i to border point j (i < j), which must
// be one of the counted lines.
std::uint32_t ObliqueLineIndex(int n, int i, int j);

struct BorderPair {
    int i;
    int j;
};
// The border points of oblique line `index` < ObliqueLineCount(n).
BorderPair ObliqueLineAt(int n, std::uint32_t index);

// A cut line as a file names it.
struct CutLineCode {
    enum Kind { ConstantRow, ConstantColumn, Oblique } kind;
    std::uint32_t index;  // the position p - 1 of an axis cut, or the oblique line's index
};

// The code of a model's line; nothing when the line is not one the search can produce.
std::optional<CutLineCode> EncodeCutLine(const CutModel& model);
// Sets the model's end points from `code` as the search stores them; `model.size` must be
// set and the code valid for it.
void DecodeCutLine(const CutLineCode& code, CutModel& model);

}  // namespace zantrel
