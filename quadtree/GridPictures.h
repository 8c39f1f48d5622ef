#pragma once
// The pictures drawn from a quadtree.

#include "picture/Picture.h"
#include "quadtree/Quadtree.h"

namespace zantrel {

// The bare grid's start: white with the picture's border in the grid value 128.
GrayPicture BorderGrid(int width, int height);
// Draws the two split lines of the block (row, col, size) into `grid`, as far as they lie
// inside the picture.
void DrawSplitLines(GrayPicture& grid, int row, int col, int size);

// The block picture: every leaf filled with its mean.
GrayPicture FillBlockPicture(const Quadtree& tree);

// The gray grid: the grid's background samples (exactly 255) take the block picture's value;
// the borders (128) stay. Both pictures have the same size.
GrayPicture MakeGrayGrid(const GrayPicture& grid, const GrayPicture& blockPicture);

}  // namespace zantrel
