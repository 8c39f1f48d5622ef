#include "reference/LiteralQuadtree.h"

#include <algorithm>
#include <deque>

namespace zantrel {

namespace {

constexpr std::uint8_t kLine = 128;

bool Inside(const LiteralBlock& b, const GrayPicture& gray) {
    return b.row + b.size <= gray.height && b.col + b.size <= gray.width;
}

bool Outside(const LiteralBlock& b, const GrayPicture& gray) {
    return b.row >= gray.height || b.col >= gray.width;
}

// The block with its mean and cost when it lies inside the picture; a block that reaches
// past the edge is never measured.
LiteralBlock Make(const GrayPicture& gray, double penalty, int row, int col, int size) {
    LiteralBlock b{row, col, size, 0, 0.0, 0, 0};
    if (!Inside(b, gray))
        return b;
    double s = 0.0;
    double q = 0.0;
    for (int r = row; r < row + size; ++r) {
        for (int c = col; c < col + size; ++c) {
            const double g = gray.At(r, c);
            s += g;
            q += g * g / 512.0;
        }
    }
    const double a = s / size;
    const double m = a / size;
    b.mean = static_cast<std::uint8_t>(m + 0.5);
    b.cost = (q - (a * a) * 0.001953125) + penalty;
    return b;
}

}  // namespace

LiteralQuadtree LiteralQuadtreeDecompose(const GrayPicture& gray, double penalty,
                                         std::int32_t minBlockSize) {
    const int w = gray.width;
    const int h = gray.height;
    LiteralQuadtree out;
    out.grid = GrayPicture(w, h, 255);
    for (int c = 0; c < w; ++c)
        out.grid.At(0, c) = out.grid.At(h - 1, c) = kLine;
    for (int r = 0; r < h; ++r)
        out.grid.At(r, 0) = out.grid.At(r, w - 1) = kLine;

    int side = 1;
    while (side < w || side < h)
        side *= 2;
    std::deque<LiteralBlock> queue{Make(gray, penalty, 0, 0, side)};
    while (!queue.empty()) {
        const LiteralBlock p = queue.front();
        queue.pop_front();
        const int half = p.size / 2;
        const bool inside = Inside(p, gray);
        if (inside && half == 0) {
            out.blocks.push_back(p);
            continue;
        }
        const LiteralBlock quarters[4] = {Make(gray, penalty, p.row, p.col, half),
                                          Make(gray, penalty, p.row + half, p.col, half),
                                          Make(gray, penalty, p.row, p.col + half, half),
                                          Make(gray, penalty, p.row + half, p.col + half, half)};
        if (inside) {
            const double t =
                ((quarters[0].cost + quarters[1].cost) + quarters[2].cost) + quarters[3].cost;
            if (!(p.cost > t)) {
                out.blocks.push_back(p);
                continue;
            }
        }
        // A straddling block is split whatever it costs; its lines stop at the edge.
        for (int r = p.row; r < p.row + p.size; ++r) {
            if (r < h && p.col + half < w)
                out.grid.At(r, p.col + half) = kLine;
        }
        for (int c = p.col; c < p.col + p.size; ++c) {
            if (p.row + half < h && c < w)
                out.grid.At(p.row + half, c) = kLine;
        }
        for (const LiteralBlock& q : quarters) {
            if (Outside(q, gray))
                continue;
            if (Inside(q, gray) && half == minBlockSize) {
                out.blocks.push_back(q);
            } else {
                queue.push_back(q);
            }
        }
    }
    return out;
}

GrayPicture LiteralBlockPicture(int width, int height, const std::vector<LiteralBlock>& blocks) {
    GrayPicture picture(width, height);
    for (const LiteralBlock& b : blocks) {
        for (int r = b.row; r < b.row + b.size; ++r) {
            for (int c = b.col; c < b.col + b.size; ++c)
                picture.At(r, c) = b.mean;
        }
    }
    return picture;
}

}  // namespace zantrel
