#pragma once
// The fit of one constant region: its value (the mean rounded half up) and its cost
// (penalty + squared error about the exact mean / 512), from exact integer sums.

#include <cstdint>

namespace zantrel {

struct RegionFit {
    std::uint8_t value;
    double cost;
};

// `graySum` is the sum of g, `squareSum` the sum of g * g over `count` > 0 pixels. As doubles
// both sums are exact, so the result equals the pixel-by-pixel double computation bit for bit.
inline RegionFit FitRegion(std::int64_t graySum, std::int64_t squareSum, std::int64_t count,
                           double penalty) {
    const double s = static_cast<double>(graySum);
    const double q = static_cast<double>(squareSum) * 0.001953125;  // sum of g * g / 512, exact
    const double mu = s / static_cast<double>(count);
    return {static_cast<std::uint8_t>(mu + 0.5), (q - (s * 0.001953125) * mu) + penalty};
}

}  // namespace zantrel
