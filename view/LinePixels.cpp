#include "view/LinePixels.h"

#include <algorithm>
#include <cstdlib>

std::vector<QPoint> LinePixelsWithoutEnd(QPoint from, QPoint to) {
    // Integer midpoint stepping in all eight directions; it reaches `to` exactly.
    const int dx = std::abs(to.x() - from.x());
    const int dy = -std::abs(to.y() - from.y());
    const int stepX = from.x() < to.x() ? 1 : -1;
    const int stepY = from.y() < to.y() ? 1 : -1;
    int error = dx + dy;
    std::vector<QPoint> pixels;
    pixels.reserve(static_cast<std::size_t>(std::max(dx, -dy)));
    QPoint p = from;
    while (p != to) {
        pixels.push_back(p);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            p.rx() += stepX;
        }
        if (twice <= dx) {
            error += dx;
            p.ry() += stepY;
        }
    }
    return pixels;
}
