#include "linesearch/CutLineOverlay.h"

#include <cstdlib>

namespace zantrel {

void CutLineEnds(const QuadBlock& leaf, int pictureHeight, ScreenPoint& from, ScreenPoint& to) {
    const CutLine& line = *leaf.Line();
    from = {leaf.col + line.first.col, pictureHeight - (leaf.row + line.first.row)};
    to = {leaf.col + line.second.col, pictureHeight - (leaf.row + line.second.row)};
}

void ForEachLinePixel(ScreenPoint from, ScreenPoint to,
                      const std::function<void(int x, int y)>& plot) {
    // Bresenham's line, stepping along the longer axis; the last point is not drawn.
    const int dx = std::abs(to.x - from.x);
    const int dy = -std::abs(to.y - from.y);
    const int stepX = from.x < to.x ? 1 : -1;
    const int stepY = from.y < to.y ? 1 : -1;
    int error = dx + dy;
    int x = from.x;
    int y = from.y;
    while (x != to.x || y != to.y) {
        plot(x, y);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

ColorPicture GridWithCutLines(const GrayPicture& grid, const Quadtree& tree) {
    ColorPicture picture(grid.width, grid.height);
    for (std::size_t i = 0; i < grid.samples.size(); ++i) {
        picture.bgr[3 * i] = picture.bgr[3 * i + 1] = picture.bgr[3 * i + 2] = grid.samples[i];
    }
    for (const QuadBlock& leaf : tree.leaves) {
        if (!leaf.Line())
            continue;
        ScreenPoint from{}, to{};
        CutLineEnds(leaf, grid.height, from, to);
        ForEachLinePixel(from, to, [&](int x, int y) {
            if (x < 0 || x >= grid.width || y < 0 || y >= grid.height)
                return;
            std::uint8_t* pixel = picture.Pixel(grid.height - 1 - y, x);
            pixel[0] = 0;    // blue
            pixel[1] = 0;    // green
            pixel[2] = 255;  // red
        });
    }
    return picture;
}

}  // namespace zantrel
