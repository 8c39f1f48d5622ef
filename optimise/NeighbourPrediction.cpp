#include "optimise/NeighbourPrediction.h"

#include <algorithm>

namespace zantrel {

namespace {

int RoundedMean(std::int64_t sum, std::int64_t count) {
    return static_cast<int>((2 * sum + count) / (2 * count));
}

}  // namespace

NeighbourPrediction PredictFromNeighbours(const GrayPicture& gray, int row, int col, int n,
                                          const CutSides* sides) {
    NeighbourPrediction c;
    std::int64_t all = 0, below = 0, left = 0, side[2] = {0, 0};
    int count = 0, sideCount[2] = {0, 0};
    int lowest = 255, highest = -1;
    auto add = [&](int v, int j, int k) {
        all += v;
        ++count;
        lowest = std::min(lowest, v);
        highest = std::max(highest, v);
        const int s = sides && sides->Of(j, k) == CutSide::B ? 0 : 1;  // the line counts with A
        side[s] += v;
        ++sideCount[s];
    };
    for (int k = 0; k < n; ++k) {
        if (row > 0) {
            const int v = gray.At(row - 1, col + k);
            below += v;
            add(v, 0, k);
        }
        if (col > 0) {
            const int v = gray.At(row + k, col - 1);
            left += v;
            add(v, k, 0);
        }
    }
    c.activity = 4;
    if (highest >= 0) {
        const int d = highest - lowest;
        c.activity = static_cast<std::uint8_t>(d <= 2 ? 0 : d <= 6 ? 1 : d <= 16 ? 2 : 3);
    }
    int predicted = count ? RoundedMean(all, count) : 128;
    if (row > 0 && col > 0) {
        const int b = RoundedMean(below, n);
        const int l = RoundedMean(left, n);
        const int gradient = std::clamp(b + l - gray.At(row - 1, col - 1), 0, 255);
        predicted = std::max(std::min(b, l), std::min(std::max(b, l), gradient));
    }
    c.predicted = static_cast<std::uint8_t>(predicted);
    c.neighboursB = sideCount[0];
    c.neighboursA = sideCount[1];
    c.predictedB =
        static_cast<std::uint8_t>(sideCount[0] ? RoundedMean(side[0], sideCount[0]) : 128);
    c.predictedA =
        static_cast<std::uint8_t>(sideCount[1] ? RoundedMean(side[1], sideCount[1]) : 128);
    return c;
}

}  // namespace zantrel
