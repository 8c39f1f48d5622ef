#include "linesearch/SearchSteps.h"

#include <algorithm>
#include <cstdlib>

#include "linesearch/BorderPoints.h"

namespace zantrel {

std::int64_t ObliqueStepsFrom(int n, int i) {
    const LatticePoint p = BorderPointAt(n, i);
    std::int64_t steps = 0;
    for (int j = i + 1; j < 4 * n; ++j) {
        const LatticePoint q = BorderPointAt(n, j);
        const int dr = std::abs(q.row - p.row);
        const int dc = std::abs(q.col - p.col);
        // Lines along a border side and axis-parallel lines are not oblique.
        if (dr != 0 && dc != 0)
            steps += 1 + std::min(dr, dc);
    }
    return steps;
}

void ObliqueStepsBefore(int n, std::vector<std::int64_t>& steps) {
    steps.assign(4 * n, 0);
    for (int i = 0; i + 1 < 4 * n; ++i)
        steps[i + 1] = steps[i] + ObliqueStepsFrom(n, i);
}

std::int64_t BlockSearchSteps(int n) {
    std::int64_t steps = 2 * static_cast<std::int64_t>(n - 1);
    for (int i = 0; i + 1 < 4 * n; ++i)
        steps += ObliqueStepsFrom(n, i);
    return steps;
}

double EstimatedBlockSearchSteps(int n) {
    constexpr int kCounted = 1024;
    if (n <= kCounted)
        return static_cast<double>(BlockSearchSteps(n));
    std::int64_t lines = 0;
    std::int64_t rows = 0;
    for (int i = 0; i + 1 < 4 * kCounted; ++i) {
        const LatticePoint p = BorderPointAt(kCounted, i);
        for (int j = i + 1; j < 4 * kCounted; ++j) {
            const LatticePoint q = BorderPointAt(kCounted, j);
            const int dr = std::abs(q.row - p.row);
            const int dc = std::abs(q.col - p.col);
            if (dr != 0 && dc != 0) {
                ++lines;
                rows += std::min(dr, dc);
            }
        }
    }
    const double scale = static_cast<double>(n) / kCounted;
    return 2.0 * (n - 1) + static_cast<double>(lines) * scale * scale +
           static_cast<double>(rows) * scale * scale * scale;
}

}  // namespace zantrel
