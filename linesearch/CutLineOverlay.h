#pragma once
// The cut lines as the grid-lines display draws them: 1-pixel lines whose end point is not
// drawn. Coordinates are relative to the drawn picture's top-left corner, x to the right and
// y downwards; row offsets count upwards from the block's first row, so an end point at row
// offset k of a block at `row` of an H-row picture lies at y = H - (row + k), which can be
// H, just below the picture.

#include <cstdint>
#include <functional>
#include <vector>

#include "picture/Picture.h"
#include "quadtree/Quadtree.h"

namespace zantrel {

struct ScreenPoint {
    int x;
    int y;
};

// The two end points of the cut line of `leaf`, which must have one. `pictureHeight` is the
// height of the picture the leaf belongs to.
void CutLineEnds(const QuadBlock& leaf, int pictureHeight, ScreenPoint& from, ScreenPoint& to);

// Calls `plot` for every pixel of the line from `from` to `to`, leaving out `to` itself.
void ForEachLinePixel(ScreenPoint from, ScreenPoint to,
                      const std::function<void(int x, int y)>& plot);

// `grid` with the cut line of every leaf of `tree` that has one in red (255, 0, 0); line
// pixels outside the picture are dropped.
ColorPicture GridWithCutLines(const GrayPicture& grid, const Quadtree& tree);

}  // namespace zantrel
