#pragma once
// The pictures drawn from a quadtree.

#include "picture/Picture.h"
#include "quadtree/Quadtree.h"

namespace zantrel {

// The bare grid: the picture's border and the first row and first column of every leaf (which
// lie on the split lines of the blocks around it) in the grid value 128 on white 255.
GrayPicture DrawGrid(const Quadtree& tree);

// Draws `leaf` into `picture` with its model: one value, a cut model's two values with the
// middle value on pixels whose centre lies on an oblique line, a ramp, or a ramp on each side.
void DrawLeaf(const QuadBlock& leaf, GrayPicture& picture);

// Every leaf drawn with its model: the block picture of a fresh quadtree, the approximation of
// a tree whose leaves took their cut models.
GrayPicture DrawLeaves(const Quadtree& tree);

// The gray grid: the grid's background samples (exactly 255) take the block picture's value;
// the borders (128) stay. Both pictures have the same size.
GrayPicture MakeGrayGrid(const GrayPicture& grid, const GrayPicture& blockPicture);

}  // namespace zantrel
