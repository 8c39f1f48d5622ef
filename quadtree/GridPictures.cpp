#include "quadtree/GridPictures.h"

#include <algorithm>

namespace zantrel {

namespace {
constexpr std::uint8_t kGridValue = 128;
}

GrayPicture BorderGrid(int width, int height) {
    GrayPicture grid(width, height, 255);
    for (int c = 0; c < width; ++c) {
        grid.At(0, c) = kGridValue;
        grid.At(height - 1, c) = kGridValue;
    }
    for (int r = 0; r < height; ++r) {
        grid.At(r, 0) = kGridValue;
        grid.At(r, width - 1) = kGridValue;
    }
    return grid;
}

void DrawSplitLines(GrayPicture& grid, int row, int col, int size) {
    const int h = size / 2;
    if (col + h < grid.width) {
        const int rowEnd = std::min(row + size, grid.height);
        for (int r = row; r < rowEnd; ++r)
            grid.At(r, col + h) = kGridValue;
    }
    if (row + h < grid.height) {
        const int colEnd = std::min(col + size, grid.width);
        std::fill_n(grid.samples.begin() + grid.Index(row + h, col), colEnd - col, kGridValue);
    }
}

GrayPicture FillBlockPicture(const Quadtree& tree) {
    GrayPicture picture(tree.width, tree.height);
    for (const QuadBlock& block : tree.blocks) {
        for (int r = block.row; r < block.row + block.size; ++r) {
            std::fill_n(picture.samples.begin() + picture.Index(r, block.col), block.size,
                        block.mean);
        }
    }
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
