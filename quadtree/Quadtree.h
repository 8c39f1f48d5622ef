#pragma once
// The quadtree of a gray picture of any size, as one value: its settings and its leaves, each
// with the model it is drawn with. The root is the smallest power-of-two square that covers
// the picture, anchored at row 0, column 0 (the bottom-left corner). A block is split into its
// four quarters when they cost less than the block; a block that straddles the picture's edge
// is always split, whatever its cost and even below the minimum block size, and a block wholly
// outside the picture is dropped, so every leaf lies wholly inside. Costs are penalty + squared
// error / 512 on every picture.

#include <cstdint>
#include <span>
#include <variant>
#include <vector>

#include "quadtree/CutLine.h"
#include "quadtree/Plane.h"
#include "quadtree/Quantiser.h"
#include "quadtree/RegionFit.h"
#include "quadtree/SummedTables.h"

namespace zantrel {

// A leaf drawn with one gray value.
struct OneValueModel {
    std::uint8_t value;
    bool operator==(const OneValueModel&) const = default;
};

// A leaf drawn with two gray values on the two sides of a cut line: side A in valueA, side B
// in valueB, a pixel whose centre lies on an oblique line in their middle value.
struct CutModel {
    CutLine line;
    std::uint8_t valueA;
    std::uint8_t valueB;
    // The middle value, (valueA + valueB) / 2 rounded down.
    std::uint8_t Middle() const { return static_cast<std::uint8_t>((valueA + valueB) / 2); }
    bool operator==(const CutModel&) const = default;
};

// A leaf drawn with a linear ramp (the optimised mode).
struct PlaneModel {
    Plane plane;
    bool operator==(const PlaneModel&) const = default;
};

// A leaf drawn with a ramp on each side of a cut line (the optimised mode), a pixel the line
// crosses in the blend of the two ramps' values there (quadtree/GridPictures.h).
struct CutPlanesModel {
    CutLine line;
    Plane a;
    Plane b;
    bool operator==(const CutPlanesModel&) const = default;
};

using LeafModel = std::variant<OneValueModel, CutModel, PlaneModel, CutPlanesModel>;

// One square leaf block; covers rows row .. row + size - 1 and columns col .. col + size - 1
// of the picture (row 0 is the bottom row).
struct QuadBlock {
    std::int32_t row;
    std::int32_t col;
    std::int32_t size;
    // The block's one-value fit, where the tree was made from a picture: the exact mean
    // rounded half up and the squared error about the exact mean / 512. A tree read from a
    // file knows neither (0).
    std::uint8_t mean;
    double error;
    LeafModel model;

    const CutModel* Cut() const { return std::get_if<CutModel>(&model); }
    // The cut line of a cut leaf of either kind; nullptr for a leaf without one.
    const CutLine* Line() const {
        if (const CutModel* cut = Cut())
            return &cut->line;
        const CutPlanesModel* planes = std::get_if<CutPlanesModel>(&model);
        return planes ? &planes->line : nullptr;
    }
    bool operator==(const QuadBlock&) const = default;
};

struct Quadtree {
    int width = 0;
    int height = 0;
    double penalty = 0.0;
    std::int32_t minBlockSize = 0;
    // The leaves in depth-first order, the quarters of a block in the order bottom-left,
    // top-left, bottom-right, top-right: the order of the Zantrel file.
    std::vector<QuadBlock> leaves;
    // The optimised mode's quantiser; the exact mode's trees keep full-precision values.
    Quantiser quantiser;

    int RootSide() const;
    // The leaf covering pixel (row, col); nullptr outside the picture.
    const QuadBlock* LeafAt(int row, int col) const;
    // The leaf that is the block of level `level` (0 the root, side RootSide() >> level) at
    // block row `blockRow` and block column `blockCol`, counted in blocks of that side;
    // nullptr where that block is split, lies inside a larger leaf or outside the picture.
    const QuadBlock* Find(int level, int blockRow, int blockCol) const;
    bool operator==(const Quadtree&) const = default;
};

// The one-value fit of the square block (row, col, size), which must lie inside the picture.
RegionFit MeasureBlock(const SummedTables& sums, int row, int col, int size);

// The side of the quadtree's root for a width x height picture.
int RootSide(int width, int height);

// The quadtree of the picture whose tables are `sums`, under `penalty` (>= 0) with
// `minBlockSize` in 1..128 (only a power of two stops the split). Every leaf takes its
// one-value model.
Quadtree DecomposeQuadtree(const SummedTables& sums, double penalty, std::int32_t minBlockSize);

// The leaves' indices ordered by size, smallest first, and in tree order within a size.
std::vector<std::int32_t> LeavesBySize(const Quadtree& tree);

// The leaves' indices in the serpentine scan: by first row, bottom up; columns ascending in
// even row groups, descending in odd ones (a row group is the leaves of one first row).
std::vector<std::int32_t> LeavesInScanOrder(const Quadtree& tree);

}  // namespace zantrel
