#include <algorithm>
#include <deque>

#include "quadtree/GridPictures.h"
#include "quadtree/Quadtree.h"

namespace zantrel {

namespace {

enum class Place { Inside, Straddles, Outside };

Place PlaceOf(const QuadBlock& block, int width, int height) {
    if (block.row >= height || block.col >= width)
        return Place::Outside;
    if (block.row + block.size <= height && block.col + block.size <= width)
        return Place::Inside;
    return Place::Straddles;
}

}  // namespace

int RootSide(int width, int height) {
    int side = 1;
    while (side < width || side < height)
        side *= 2;
    return side;
}

BlockMeasure MeasureBlock(const SummedTables& sums, int row, int col, int size) {
    // Exact integer sums; see SummedTables.h for why they equal the double sums.
    const double s = static_cast<double>(sums.GraySum(row, col, size, size));
    const double q = static_cast<double>(sums.SquareSum(row, col, size, size)) * 0.001953125;
    const double a = s / size;
    const double m = a / size;
    return {static_cast<std::uint8_t>(m + 0.5), q - (a * a) * 0.001953125};
}

Quadtree DecomposeQuadtree(const SummedTables& sums, double penalty, std::int32_t minBlockSize) {
    const int width = sums.Width();
    const int height = sums.Height();
    Quadtree tree;
    tree.width = width;
    tree.height = height;
    tree.penalty = penalty;
    tree.minBlockSize = minBlockSize;
    tree.grid = BorderGrid(width, height);

    // A block that straddles the edge is never measured: it is always split.
    auto make = [&](std::int32_t row, std::int32_t col, std::int32_t size) {
        QuadBlock block{row, col, size, 0, 0.0, 0, 0};
        if (PlaceOf(block, width, height) == Place::Inside) {
            const BlockMeasure measure = MeasureBlock(sums, row, col, size);
            block.mean = measure.mean;
            block.cost = measure.error + penalty;
        }
        return block;
    };

    std::deque<QuadBlock> workList;
    workList.push_back(make(0, 0, RootSide(width, height)));
    while (!workList.empty()) {
        const QuadBlock parent = workList.front();
        const bool straddles = PlaceOf(parent, width, height) == Place::Straddles;
        const std::int32_t h = parent.size / 2;
        if (h == 0) {  // a single pixel has no quarters
            workList.pop_front();
            tree.blocks.push_back(parent);
            continue;
        }
        const QuadBlock quarters[4] = {
            make(parent.row, parent.col, h),
            make(parent.row + h, parent.col, h),
            make(parent.row, parent.col + h, h),
            make(parent.row + h, parent.col + h, h),
        };
        workList.pop_front();
        if (!straddles) {
            const double quartersCost =
                ((quarters[0].cost + quarters[1].cost) + quarters[2].cost) + quarters[3].cost;
            if (!(parent.cost > quartersCost)) {
                tree.blocks.push_back(parent);
                continue;
            }
        }
        DrawSplitLines(tree.grid, parent.row, parent.col, parent.size);
        for (const QuadBlock& quarter : quarters) {
            const Place place = PlaceOf(quarter, width, height);
            if (place == Place::Outside)
                continue;
            if (place == Place::Inside && h == minBlockSize) {
                tree.blocks.push_back(quarter);
            } else {
                workList.push_back(quarter);
            }
        }
    }
    return tree;
}

}  // namespace zantrel
