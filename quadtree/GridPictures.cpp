#include "quadtree/GridPictures.h"

#include <algorithm>

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
