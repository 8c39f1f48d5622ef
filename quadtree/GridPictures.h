#pragma once
// The pictures drawn from a quadtree.

#include "picture/Picture.h"
#include "quadtree/Quadtree.h"

namespace zantrel {

// The bare grid: the picture's border and the first row and first column of every leaf (which
// lie on the split lines of the blocks around it) in the grid value 128 on white 255.
GrayPicture DrawGrid(const Quadtree& tree);

// How a cut leaf draws the pixels an oblique line crosses: the exact mode gives a pixel whose
// centre lies on the line the middle of the two values and every other pixel its centre's
// side; the optimised mode blends every crossed pixel by the share of it on each side.
enum class CutEdges { Middle, Blended };

// The blend of side A's value a and side B's value b for a pixel whose share on side A is
// areaA / scale, rounded half up.
inline std::uint8_t BlendSides(int a, int b, std::int64_t areaA, std::int64_t scale) {
    return static_cast<std::uint8_t>((2 * (a * areaA + b * (scale - areaA)) + scale) / (2 * scale));
}

// Draws `leaf` into `picture` with its model: one value, a cut model's two values, a ramp, or
// a ramp on each side of a cut line.
void DrawLeaf(const QuadBlock& leaf, GrayPicture& picture, CutEdges edges = CutEdges::Middle);

// The edges a tree's cut leaves are drawn with: blended in an optimised tree.
inline CutEdges EdgesOf(const Quadtree& tree) {
    return tree.quantiser.IsExact() ? CutEdges::Middle : CutEdges::Blended;
}

// Every leaf drawn with its model: the block picture of a fresh quadtree, the approximation of
// a tree whose leaves took their cut models.
GrayPicture DrawLeaves(const Quadtree& tree);

// The gray grid: the grid's background samples (exactly 255) take the block picture's value;
// the borders (128) stay. Both pictures have the same size.
GrayPicture MakeGrayGrid(const GrayPicture& grid, const GrayPicture& blockPicture);

}  // namespace zantrel
