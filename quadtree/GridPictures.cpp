#include <algorithm>

#include "picture/PictureStore.h"
#include "quadtree/BlockLists.h"
#include "quadtree/ImageProcessor.h"

void CImageProcessor::FillBlockPicture() {
    for (const QuadBlock& block : g_blocks) {
        for (int r = block.row; r < block.row + block.size; ++r) {
            std::uint8_t* line = g_resultPixels + r * kPictureSide + block.col;
            std::fill(line, line + block.size, block.mean);
        }
    }
}

void CImageProcessor::MakeGrayGrid() {
    // Borders are told from background by value alone: background is exactly 255.
    for (int i = 0; i < kPixelCount; ++i) {
        if (g_grayGridPixels[i] == 255)
            g_grayGridPixels[i] = g_resultPixels[i];
    }
}
