#include "quadtree/GridPictures.h"

#include <algorithm>

namespace zantrel {

namespace {

constexpr std::uint8_t kGridValue = 128;

void FillRow(GrayPicture& picture, int row, int col, int count, std::uint8_t value) {
    std::fill_n(picture.samples.begin() + static_cast<std::ptrdiff_t>(picture.Index(row, col)),
                count, value);
}

}  // namespace

GrayPicture DrawGrid(const Quadtree& tree) {
    GrayPicture grid(tree.width, tree.height, 255);
    FillRow(grid, 0, 0, tree.width, kGridValue);
    FillRow(grid, tree.height - 1, 0, tree.width, kGridValue);
    for (int r = 0; r < tree.height; ++r)
        grid.At(r, 0) = grid.At(r, tree.width - 1) = kGridValue;
    for (const QuadBlock& leaf : tree.leaves) {
        FillRow(grid, leaf.row, leaf.col, leaf.size, kGridValue);
        for (int r = leaf.row; r < leaf.row + leaf.size; ++r)
            grid.At(r, leaf.col) = kGridValue;
    }
    return grid;
}

namespace {

void DrawPlane(const QuadBlock& leaf, const Plane& plane, GrayPicture& picture) {
    const int n = leaf.size;
    for (int j = 0; j < n; ++j) {
        std::uint8_t* row = &picture.At(leaf.row + j, leaf.col);
        for (int k = 0; k < n; ++k)
            row[k] = PlaneAt(plane, n, j, k);
    }
}

void DrawBlendedCut(const QuadBlock& leaf, const CutLine& line, const Plane& a, const Plane& b,
                    GrayPicture& picture) {
    const int n = leaf.size;
    const CutSides sides(line);
    const std::int64_t scale = sides.AreaScale();
    for (int j = 0; j < n; ++j) {
        std::uint8_t* row = &picture.At(leaf.row + j, leaf.col);
        for (int k = 0; k < n; ++k)
            row[k] =
                BlendSides(PlaneAt(a, n, j, k), PlaneAt(b, n, j, k), sides.AreaOfA(j, k), scale);
    }
}

}  // namespace

void DrawLeaf(const QuadBlock& leaf, GrayPicture& picture, CutEdges edges) {
    if (const PlaneModel* plane = std::get_if<PlaneModel>(&leaf.model)) {
        DrawPlane(leaf, plane->plane, picture);
        return;
    }
    if (const CutPlanesModel* planes = std::get_if<CutPlanesModel>(&leaf.model)) {
        DrawBlendedCut(leaf, planes->line, planes->a, planes->b, picture);  // the optimised mode's
        return;
    }
    const CutModel* cut = leaf.Cut();
    if (cut && edges == CutEdges::Blended) {
        DrawBlendedCut(leaf, cut->line, Plane{cut->valueA, 0, 0}, Plane{cut->valueB, 0, 0},
                       picture);
        return;
    }
    if (!cut) {
        const std::uint8_t value = std::get<OneValueModel>(leaf.model).value;
        for (int r = leaf.row; r < leaf.row + leaf.size; ++r)
            FillRow(picture, r, leaf.col, leaf.size, value);
        return;
    }
    const CutSides sides(cut->line);
    for (int j = 0; j < leaf.size; ++j) {
        const CutSides::RowRuns runs = sides.RowOf(j, leaf.size);
        FillRow(picture, leaf.row + j, leaf.col, runs.bEnd, cut->valueB);
        FillRow(picture, leaf.row + j, leaf.col + runs.bEnd, runs.aBegin - runs.bEnd,
                cut->Middle());
        FillRow(picture, leaf.row + j, leaf.col + runs.aBegin, leaf.size - runs.aBegin,
                cut->valueA);
    }
}

GrayPicture DrawLeaves(const Quadtree& tree) {
    GrayPicture picture(tree.width, tree.height);
    for (const QuadBlock& leaf : tree.leaves)
        DrawLeaf(leaf, picture, EdgesOf(tree));
    return picture;
}

GrayPicture MakeGrayGrid(const GrayPicture& grid, const GrayPicture& blockPicture) {
    GrayPicture grayGrid = grid;
    // Borders are told from background by value alone: background is exactly 255.
    for (std::size_t i = 0; i < grayGrid.samples.size(); ++i) {
        if (grayGrid.samples[i] == 255)
            grayGrid.samples[i] = blockPicture.samples[i];
    }
    return grayGrid;
}

}  // namespace zantrel
