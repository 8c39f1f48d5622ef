#pragma once
// The pictures drawn from a quadtree.

#include "picture/Picture.h"
#include "quadtree/Quadtree.h"

// The block picture: every leaf filled with its mean.
GrayPicture FillBlockPicture(const Quadtree& tree);

// The gray grid: the grid's background samples (exactly 255) take the block picture's value;
// the borders (128) stay. Both pictures have the same size.
GrayPicture MakeGrayGrid(const GrayPicture& grid, const GrayPicture& blockPicture);
