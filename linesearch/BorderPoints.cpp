#include "linesearch/BorderPoints.h"

namespace zantrel {

std::vector<LatticePoint> MakeBorderPoints(int n) {
    std::vector<LatticePoint> points;
    points.reserve(4 * n);
    for (int c = 0; c <= n; ++c)
        points.push_back({0, c});
    for (int c = 0; c <= n; ++c)
        points.push_back({n, c});
    for (int r = 1; r < n; ++r)
        points.push_back({r, 0});
    for (int r = 1; r < n; ++r)
        points.push_back({r, n});
    return points;
}

LatticePoint BorderPointAt(int n, int index) {
    if (index <= n)
        return {0, index};
    if (index <= 2 * n + 1)
        return {n, index - n - 1};
    if (index <= 3 * n)
        return {index - 2 * n - 1, 0};
    return {index - 3 * n, n};
}

std::optional<int> BorderIndex(int n, int row, int col) {
    if (row == 0 && col >= 0 && col <= n)
        return col;
    if (row == n && col >= 0 && col <= n)
        return n + 1 + col;
    if (row > 0 && row < n && col == 0)
        return 2 * n + 1 + row;
    if (row > 0 && row < n && col == n)
        return 3 * n + row;
    return std::nullopt;
}

}  // namespace zantrel
