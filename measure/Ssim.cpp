#include "measure/Ssim.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "linesearch/ParallelFor.h"
#include "linesearch/Threads.h"

namespace zantrel {

namespace {

constexpr int kWindow = 11;
constexpr double kSigma = 1.5;
constexpr double kC1 = (0.01 * 255) * (0.01 * 255);
constexpr double kC2 = (0.03 * 255) * (0.03 * 255);
// Window rows per band a core takes: each band filters the window's height again first.
constexpr int kBandRows = 64;

// The Gaussian weights of a window of `side` pixels centred on it, summing to 1.
std::vector<double> Weights(int side) {
    std::vector<double> weights(static_cast<std::size_t>(side));
    const double centre = (side - 1) / 2.0;
    double sum = 0.0;
    for (int i = 0; i < side; ++i) {
        const double d = i - centre;
        weights[static_cast<std::size_t>(i)] = std::exp(-d * d / (2 * kSigma * kSigma));
        sum += weights[static_cast<std::size_t>(i)];
    }
    for (double& w : weights)
        w /= sum;
    return weights;
}

// The five local moments the index is made of: E[x], E[y], E[x²], E[y²], E[xy].
constexpr int kMoments = 5;
using Moments = std::array<double, kMoments>;

}  // namespace

double Ssim(const GrayPicture& gray, const GrayPicture& result) {
    const int width = gray.width;
    const int height = gray.height;
    const int across = std::min(kWindow, width);
    const int down = std::min(kWindow, height);
    const std::vector<double> wx = Weights(across);
    const std::vector<double> wy = Weights(down);
    const int columns = width - across + 1;  // window positions along a row
    const int rows = height - down + 1;

    const auto filterRow = [&](int row, std::vector<Moments>& out) {
        for (int c = 0; c < columns; ++c) {
            Moments m{};
            for (int i = 0; i < across; ++i) {
                const double x = gray.At(row, c + i);
                const double y = result.At(row, c + i);
                const double w = wx[static_cast<std::size_t>(i)];
                m[0] += w * x;
                m[1] += w * y;
                m[2] += w * x * x;
                m[3] += w * y * y;
                m[4] += w * x * y;
            }
            out[static_cast<std::size_t>(c)] = m;
        }
    };
    // The windows whose top rows are first .. last - 1, each one's index into `indices`; the
    // picture rows filtered along the row, kept for the `down` rows a window spans.
    const auto band = [&](int first, int last, double* indices) {
        std::vector<std::vector<Moments>> filtered(static_cast<std::size_t>(down),
                                                   std::vector<Moments>(columns));
        for (int r = first; r < first + down - 1; ++r)
            filterRow(r, filtered[static_cast<std::size_t>(r % down)]);
        for (int top = first; top < last; ++top) {
            const int newest = top + down - 1;
            filterRow(newest, filtered[static_cast<std::size_t>(newest % down)]);
            for (int c = 0; c < columns; ++c) {
                Moments m{};
                for (int j = 0; j < down; ++j) {
                    const Moments& part = filtered[static_cast<std::size_t>((top + j) % down)]
                                                  [static_cast<std::size_t>(c)];
                    const double w = wy[static_cast<std::size_t>(j)];
                    for (int k = 0; k < kMoments; ++k)
                        m[static_cast<std::size_t>(k)] += w * part[static_cast<std::size_t>(k)];
                }
                const double mx = m[0];
                const double my = m[1];
                const double vx = m[2] - mx * mx;
                const double vy = m[3] - my * my;
                const double cxy = m[4] - mx * my;
                *indices++ = (2 * mx * my + kC1) * (2 * cxy + kC2) /
                             ((mx * mx + my * my + kC1) * (vx + vy + kC2));
            }
        }
    };

    // Bands of rows on every core, a few at a time, then their indices summed in raster
    // order: the total of one pass over the picture, to the last bit.
    const int threads = ResolveThreadCount(0);
    const int bandsAtOnce = 2 * threads;
    std::vector<double> indices(static_cast<std::size_t>(bandsAtOnce) * kBandRows * columns);
    double total = 0.0;
    for (int chunk = 0; chunk < rows; chunk += bandsAtOnce * kBandRows) {
        const int bands = std::min(bandsAtOnce, (rows - chunk + kBandRows - 1) / kBandRows);
        ParallelFor(bands, threads, [&](int b, int) {
            const int first = chunk + b * kBandRows;
            band(first, std::min(rows, first + kBandRows),
                 indices.data() + static_cast<std::size_t>(b) * kBandRows * columns);
        });
        const std::size_t count =
            static_cast<std::size_t>(std::min(rows - chunk, bands * kBandRows)) * columns;
        for (std::size_t i = 0; i < count; ++i)
            total += indices[i];
    }
    return total / (static_cast<double>(rows) * columns);
}

}  // namespace zantrel
