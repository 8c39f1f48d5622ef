#pragma once
// The cut lines a block of side n can receive, numbered so that a file can name one by its
// index. Axis-parallel cuts: position p = 1 .. n - 1 of a constant row or a constant column.
// Oblique lines: the pairs (i, j), i < j, of the block's 4n border points in the search's
// order (see linesearch/BorderPoints.h) whose rows and columns both differ, except the lines
// that leave a side empty, which the search never tries (two for every n: (0, 1)-(1, 0) and
// (n, 1)-(n - 1, 0)); they are numbered in the search's order, i ascending, then j
// ascending: 6n^2 - 6n lines in all.

#include <cstdint>
#include <optional>

#include "quadtree/CutLine.h"

namespace zantrel {

// The number of oblique lines of a block of side n >= 2.
std::uint32_t ObliqueLineCount(int n);

// A cut line as a file names it.
struct CutLineCode {
    enum Kind { ConstantRow, ConstantColumn, Oblique } kind;
    std::uint32_t index;  // the position p - 1 of an axis cut, or the oblique line's index
};

// The code of `line` in a block of side n; nothing when the line is not one the search can
// produce.
std::optional<CutLineCode> EncodeCutLine(int n, const CutLine& line);
// The line of `code`, which must be valid for side n, with its end points as the search
// stores them.
CutLine DecodeCutLine(int n, const CutLineCode& code);

}  // namespace zantrel
