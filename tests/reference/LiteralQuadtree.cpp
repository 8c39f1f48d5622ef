#include "reference/LiteralQuadtree.h"

#include <deque>

#include "picture/PictureStore.h"

namespace {

std::uint8_t Measure(int row, int col, int size, double& error) {
    double s = 0.0;
    double q = 0.0;
    for (int r = row; r < row + size; ++r) {
        for (int c = col; c < col + size; ++c) {
            s += g_grayPixels[r * 512 + c];
            q += g_graySquares[r * 512 + c];
        }
    }
    const double a = s / size;
    const double m = a / size;
    error = q - (a * a) * 0.001953125;
    return static_cast<std::uint8_t>(m + 0.5);
}

}  // namespace

LiteralQuadtree LiteralQuadtreeDecompose(double penalty, std::int32_t minBlockSize) {
    LiteralQuadtree out;
    out.grid.assign(kPixelCount, 255);
    for (int i = 0; i < 512; ++i) {
        out.grid[i] = out.grid[511 * 512 + i] = out.grid[i * 512] = out.grid[i * 512 + 511] = 128;
    }
    auto make = [&](int row, int col, int size) {
        double error = 0.0;
        QuadBlock b{row, col, size, 0, 0.0, 0, 0};
        b.mean = Measure(row, col, size, error);
        b.cost = error + penalty;
        return b;
    };
    std::deque<QuadBlock> queue{make(0, 0, 512)};
    while (!queue.empty()) {
        const QuadBlock p = queue.front();
        const int h = p.size / 2;
        if (h == 0) {
            queue.pop_front();
            out.blocks.push_back(p);
            continue;
        }
        const QuadBlock c1 = make(p.row, p.col, h);
        const QuadBlock c2 = make(p.row + h, p.col, h);
        const QuadBlock c3 = make(p.row, p.col + h, h);
        const QuadBlock c4 = make(p.row + h, p.col + h, h);
        const double t = ((c1.cost + c2.cost) + c3.cost) + c4.cost;
        queue.pop_front();
        if (p.cost > t) {
            for (int r = p.row; r < p.row + p.size; ++r)
                out.grid[r * 512 + p.col + h] = 128;
            for (int c = p.col; c < p.col + p.size; ++c)
                out.grid[(p.row + h) * 512 + c] = 128;
            for (const QuadBlock& q : {c1, c2, c3, c4}) {
                if (h == minBlockSize) {
                    out.blocks.push_back(q);
                } else {
                    queue.push_back(q);
                }
            }
        } else {
            out.blocks.push_back(p);
        }
    }
    return out;
}
