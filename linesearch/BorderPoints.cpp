#include "linesearch/BorderPoints.h"

std::vector<BorderPoint> MakeBorderPoints(int n) {
    std::vector<BorderPoint> points;
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
