#pragma once
// Bjøntegaard figures: how far apart two rate–distortion curves lie on average, in quality at
// equal rate (BD-PSNR) and in rate at equal quality (BD-rate).
//
// Each curve is interpolated piecewise-cubically (monotone Hermite pieces, as a shape-preserving
// spline through every point) with the rate on a log10 scale, and the two are compared over
// the range both cover. The classic method fits one cubic polynomial through all points
// instead; with the ten or more points of a sweep that polynomial swings between them, while
// the piecewise curve goes through each measured point and never overshoots.

#include <optional>
#include <span>

namespace zantrel {

struct RatePoint {
    double bitsPerPixel = 0.0;
    double psnr = 0.0;  // dB
};

struct BjontegaardFigures {
    double psnrDifference = 0.0;  // dB: the test curve above the anchor where positive
    double rateDifference = 0.0;  // a fraction: -0.1 is the test curve spending 10 % fewer bits
};

// `test` against `anchor`. Points with a rate that is not positive and finite or a PSNR that is
// not finite are left out, and so is a point that repeats the rate or the PSNR of an earlier
// one. Nothing where a curve keeps fewer than two points or the curves have no common range
// of rates or of PSNRs.
std::optional<BjontegaardFigures> CompareCurves(std::span<const RatePoint> test,
                                                std::span<const RatePoint> anchor);

}  // namespace zantrel
