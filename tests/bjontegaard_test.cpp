#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "measure/Bjontegaard.h"

namespace zantrel {

namespace {

// The sample's curve at the sweep's default penalties (file rate, PSNR).
const std::vector<RatePoint> kSample = {
    {0.542389, 29.666069}, {0.469269, 29.153687}, {0.365692, 28.225418}, {0.286194, 27.098942},
    {0.211273, 25.781161}, {0.133148, 24.213790}, {0.089844, 23.017608}, {0.062256, 21.977303},
    {0.033722, 19.757851}, {0.020447, 18.326570}};

std::vector<RatePoint> Transformed(double rateFactor, double psnrOffset) {
    std::vector<RatePoint> points = kSample;
    for (RatePoint& p : points) {
        p.bitsPerPixel *= rateFactor;
        p.psnr += psnrOffset;
    }
    return points;
}

TEST(Bjontegaard, KnownAnswers) {
    const struct {
        const char* what;
        std::vector<RatePoint> test;
        std::vector<RatePoint> anchor;
        double psnr;
        double rate;
    } cases[] = {
        {"a curve against itself", kSample, kSample, 0.0, 0.0},
        {"1 dB above at every rate", Transformed(1.0, 1.0), kSample, 1.0, NAN},
        {"every rate times 0.9", Transformed(0.9, 0.0), kSample, NAN, -0.1},
        // Straight lines in log rate: 30 + 10 u against 32 + 8 u over u = log10 r in [0, 1]
        // differ by 2 - 2u, 1 dB on average; in rate, over PSNR 32 … 40, u differs by
        // q / 40 - 0.2 with q = PSNR - 32, -0.1 on average, so the rate is 10^-0.1 - 1.
        {"two straight lines",
         {{1, 32}, {10, 40}},
         {{1, 30}, {10, 40}},
         1.0,
         std::pow(10.0, -0.1) - 1},
        // A lossless point (infinite PSNR) and a repeated rate are left out.
        {"points left out",
         {{0.5, INFINITY}, {1, 32}, {1, 50}, {10, 40}},
         {{1, 30}, {10, 40}},
         1.0,
         std::pow(10.0, -0.1) - 1},
    };
    for (const auto& c : cases) {
        const auto figures = CompareCurves(c.test, c.anchor);
        ASSERT_TRUE(figures) << c.what;
        if (!std::isnan(c.psnr)) {
            EXPECT_NEAR(figures->psnrDifference, c.psnr, 1e-9) << c.what;
        }
        if (!std::isnan(c.rate)) {
            EXPECT_NEAR(figures->rateDifference, c.rate, 1e-9) << c.what;
        }
    }
    // Better at equal rate means fewer bits at equal quality, and the other way round.
    EXPECT_LT(CompareCurves(Transformed(1.0, 1.0), kSample)->rateDifference, 0);
    EXPECT_GT(CompareCurves(Transformed(0.9, 0.0), kSample)->psnrDifference, 0);
}

TEST(Bjontegaard, NoCommonRangeGivesNothing) {
    const std::vector<RatePoint> high = {{1, 30}, {2, 33}};
    const std::vector<RatePoint> low = {{0.1, 20}, {0.2, 23}};
    const std::vector<RatePoint> lowButSharp = {{0.1, 31}, {0.2, 34}};  // rates apart only
    const std::vector<RatePoint> one = {{1, 30}};
    EXPECT_FALSE(CompareCurves(high, low));
    EXPECT_FALSE(CompareCurves(high, lowButSharp));
    EXPECT_FALSE(CompareCurves(one, high));
    EXPECT_FALSE(CompareCurves(high, {}));
}

}  // namespace

}  // namespace zantrel
