#include "linesearch/CutLineOverlay.h"

#include <cstdlib>

#include "picture/PictureStore.h"
#include "quadtree/BlockLists.h"

void CutLineEnds(const CutModel& model, ScreenPoint& from, ScreenPoint& to) {
    // The casts truncate toward zero; the searches store whole numbers anyway.
    from = {model.col + static_cast<int>(model.p1Col),
            kPictureSide - (model.row + static_cast<int>(model.p1Row))};
    to = {model.col + static_cast<int>(model.p2Col),
          kPictureSide - (model.row + static_cast<int>(model.p2Row))};
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

std::vector<std::uint8_t> GridWithCutLines() {
    std::vector<std::uint8_t> picture(kColorBytes);
    for (int i = 0; i < kPixelCount; ++i) {
        picture[3 * i] = picture[3 * i + 1] = picture[3 * i + 2] = g_gridPixels[i];
    }
    for (const CutModel& model : g_cutModels) {
        ScreenPoint from{}, to{};
        CutLineEnds(model, from, to);
        ForEachLinePixel(from, to, [&](int x, int y) {
            if (x < 0 || x >= kPictureSide || y < 0 || y >= kPictureSide)
                return;
            std::uint8_t* pixel = picture.data() + (kPictureSide - 1 - y) * kColorRowBytes + 3 * x;
            pixel[0] = 0;    // blue
            pixel[1] = 0;    // green
            pixel[2] = 255;  // red
        });
    }
    return picture;
}
