#include "measure/Bjontegaard.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zantrel {

namespace {

// A monotone piecewise-cubic Hermite interpolant through points of strictly increasing x
// (Fritsch–Carlson slopes, with the three-point end slopes limited the same way).
class MonotoneCubic {
  public:
    MonotoneCubic(std::vector<double> x, std::vector<double> y)
        : m_x(std::move(x)), m_y(std::move(y)), m_slope(m_x.size()) {
        const std::size_t n = m_x.size();
        std::vector<double> h(n - 1), delta(n - 1);
        for (std::size_t k = 0; k + 1 < n; ++k) {
            h[k] = m_x[k + 1] - m_x[k];
            delta[k] = (m_y[k + 1] - m_y[k]) / h[k];
        }
        if (n == 2) {
            m_slope[0] = m_slope[1] = delta[0];
            return;
        }
        for (std::size_t k = 1; k + 1 < n; ++k) {
            if (delta[k - 1] * delta[k] <= 0) {
                m_slope[k] = 0;
            } else {
                const double w1 = 2 * h[k] + h[k - 1];
                const double w2 = h[k] + 2 * h[k - 1];
                m_slope[k] = (w1 + w2) / (w1 / delta[k - 1] + w2 / delta[k]);
            }
        }
        m_slope[0] = EndSlope(h[0], h[1], delta[0], delta[1]);
        m_slope[n - 1] = EndSlope(h[n - 2], h[n - 3], delta[n - 2], delta[n - 3]);
    }

    double Front() const { return m_x.front(); }
    double Back() const { return m_x.back(); }

    // The integral from a to b, both within [Front(), Back()].
    double Integral(double a, double b) const {
        double sum = 0.0;
        for (std::size_t k = 0; k + 1 < m_x.size(); ++k) {
            const double from = std::max(a, m_x[k]);
            const double to = std::min(b, m_x[k + 1]);
            if (from < to)  // Simpson's rule is exact on one cubic piece
                sum += (to - from) / 6 * (At(k, from) + 4 * At(k, (from + to) / 2) + At(k, to));
        }
        return sum;
    }

  private:
    static double EndSlope(double h0, double h1, double delta0, double delta1) {
        const double d = ((2 * h0 + h1) * delta0 - h0 * delta1) / (h0 + h1);
        if (d * delta0 <= 0)
            return 0;
        if (delta0 * delta1 < 0 && std::abs(d) > 3 * std::abs(delta0))
            return 3 * delta0;
        return d;
    }

    // Piece k's value at x.
    double At(std::size_t k, double x) const {
        const double h = m_x[k + 1] - m_x[k];
        const double t = (x - m_x[k]) / h;
        const double t2 = t * t;
        const double t3 = t2 * t;
        return (2 * t3 - 3 * t2 + 1) * m_y[k] + (t3 - 2 * t2 + t) * h * m_slope[k] +
               (-2 * t3 + 3 * t2) * m_y[k + 1] + (t3 - t2) * h * m_slope[k + 1];
    }

    std::vector<double> m_x, m_y, m_slope;
};

// The points a curve is drawn through: finite, a positive rate, and neither the rate nor the
// PSNR of an earlier point (the first one stays), so that either can be the abscissa.
std::vector<RatePoint> UsablePoints(std::span<const RatePoint> points) {
    std::vector<RatePoint> usable;
    for (const RatePoint& p : points) {
        const bool valid =
            std::isfinite(p.bitsPerPixel) && p.bitsPerPixel > 0 && std::isfinite(p.psnr);
        const bool repeats = std::ranges::any_of(usable, [&](const RatePoint& q) {
            return q.bitsPerPixel == p.bitsPerPixel || q.psnr == p.psnr;
        });
        if (valid && !repeats)
            usable.push_back(p);
    }
    return usable;
}

// The curve y(x) through `points` in order of x; nothing with fewer than two points.
template <typename X, typename Y>
std::optional<MonotoneCubic> CurveOf(const std::vector<RatePoint>& points, X x, Y y) {
    if (points.size() < 2)
        return std::nullopt;
    std::vector<std::pair<double, double>> xy;
    for (const RatePoint& p : points)
        xy.emplace_back(x(p), y(p));
    std::ranges::sort(xy);
    std::vector<double> xs, ys;
    for (const auto& [px, py] : xy) {
        xs.push_back(px);
        ys.push_back(py);
    }
    return MonotoneCubic(std::move(xs), std::move(ys));
}

// The mean of test − anchor over the range both cover; nothing where they share none.
std::optional<double> MeanDifference(const MonotoneCubic& test, const MonotoneCubic& anchor) {
    const double from = std::max(test.Front(), anchor.Front());
    const double to = std::min(test.Back(), anchor.Back());
    if (!(from < to))
        return std::nullopt;
    return (test.Integral(from, to) - anchor.Integral(from, to)) / (to - from);
}

}  // namespace

std::optional<BjontegaardFigures> CompareCurves(std::span<const RatePoint> test,
                                                std::span<const RatePoint> anchor) {
    const auto logRate = [](const RatePoint& p) { return std::log10(p.bitsPerPixel); };
    const auto psnr = [](const RatePoint& p) { return p.psnr; };
    const std::vector<RatePoint> testPoints = UsablePoints(test);
    const std::vector<RatePoint> anchorPoints = UsablePoints(anchor);
    const auto testQuality = CurveOf(testPoints, logRate, psnr);
    const auto anchorQuality = CurveOf(anchorPoints, logRate, psnr);
    const auto testRate = CurveOf(testPoints, psnr, logRate);
    const auto anchorRate = CurveOf(anchorPoints, psnr, logRate);
    if (!testQuality || !anchorQuality || !testRate || !anchorRate)
        return std::nullopt;
    const std::optional<double> dPsnr = MeanDifference(*testQuality, *anchorQuality);
    const std::optional<double> dLogRate = MeanDifference(*testRate, *anchorRate);
    if (!dPsnr || !dLogRate)
        return std::nullopt;
    return BjontegaardFigures{*dPsnr, std::pow(10.0, *dLogRate) - 1};
}

}  // namespace zantrel
