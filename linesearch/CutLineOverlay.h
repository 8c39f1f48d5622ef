#pragma once
// The cut lines as the grid-lines display draws them: 1-pixel lines whose end point is not
// drawn. Coordinates are relative to the drawn picture's top-left corner, x to the right and
// y downwards; row offsets count upwards from the block's first row, so an end point at row
// offset k of a block at `row` lies at y = 512 - (row + k), which can be 512, just below the
// picture.

#include <cstdint>
#include <functional>
#include <vector>

#include "quadtree/Records.h"

struct ScreenPoint {
    int x;
    int y;
};

// The two end points of a model's line; fractions of the stored offsets are dropped.
void CutLineEnds(const CutModel& model, ScreenPoint& from, ScreenPoint& to);

// Calls `plot` for every pixel of the line from `from` to `to`, leaving out `to` itself.
void ForEachLinePixel(ScreenPoint from, ScreenPoint to,
                      const std::function<void(int x, int y)>& plot);

// g_gridPixels with every line of g_cutModels in red (255, 0, 0), as a bottom-up
// blue-green-red picture of 786432 bytes; line pixels outside the picture are dropped.
std::vector<std::uint8_t> GridWithCutLines();
