#pragma once
// The fit of a set of pixels by one constant gray value: the value (the exact mean rounded half
// up) and the squared error about the exact mean, scaled by 1/512 so that a penalty means the
// same on every picture. Computed from exact integer sums: as doubles, the sum of g and the sum
// of g * g / 512 are exact for any picture the engine takes, so the results equal the
// pixel-by-pixel double computation bit for bit.

#include <cstdint>

namespace zantrel {

// Squared errors are counted in units of 512 squared gray levels.
inline constexpr double kErrorScale = 0.001953125;  // 1 / 512

struct RegionFit {
    std::uint8_t value;
    double error;  // squared error about the exact mean, times kErrorScale
};

// A region of `count` > 0 pixels with the sum of g `graySum` and the sum of g * g `squareSum`.
inline RegionFit FitRegion(std::int64_t graySum, std::int64_t squareSum, std::int64_t count) {
    const double s = static_cast<double>(graySum);
    const double q = static_cast<double>(squareSum) * kErrorScale;
    const double mu = s / static_cast<double>(count);
    return {static_cast<std::uint8_t>(mu + 0.5), q - (s * kErrorScale) * mu};
}

// A square block of side n, whose quadtree measure divides by the side twice: the same
// quantities as FitRegion, in the order the quadtree's split has always rounded them.
inline RegionFit FitBlock(std::int64_t graySum, std::int64_t squareSum, int n) {
    const double s = static_cast<double>(graySum);
    const double q = static_cast<double>(squareSum) * kErrorScale;
    const double a = s / n;
    return {static_cast<std::uint8_t>(a / n + 0.5), q - (a * a) * kErrorScale};
}

}  // namespace zantrel
