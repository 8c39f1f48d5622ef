#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "measure/Ssim.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

// The index of one window position, weights taken as a plain 2-D Gaussian over the window and
// every moment summed pixel by pixel: the definition, without separation or running rows.
double DirectSsim(const GrayPicture& x, const GrayPicture& y) {
    const int across = std::min(11, x.width);
    const int down = std::min(11, x.height);
    double total = 0.0;
    int positions = 0;
    for (int top = 0; top + down <= x.height; ++top) {
        for (int left = 0; left + across <= x.width; ++left) {
            double w = 0, mx = 0, my = 0, xx = 0, yy = 0, xy = 0;
            for (int r = 0; r < down; ++r) {
                for (int c = 0; c < across; ++c) {
                    const double dr = r - (down - 1) / 2.0;
                    const double dc = c - (across - 1) / 2.0;
                    const double g = std::exp(-(dr * dr + dc * dc) / (2 * 1.5 * 1.5));
                    const double a = x.At(top + r, left + c);
                    const double b = y.At(top + r, left + c);
                    w += g;
                    mx += g * a;
                    my += g * b;
                    xx += g * a * a;
                    yy += g * b * b;
                    xy += g * a * b;
                }
            }
            mx /= w, my /= w, xx /= w, yy /= w, xy /= w;
            const double c1 = 2.55 * 2.55, c2 = 7.65 * 7.65;
            total += (2 * mx * my + c1) * (2 * (xy - mx * my) + c2) /
                     ((mx * mx + my * my + c1) * (xx - mx * mx + yy - my * my + c2));
            ++positions;
        }
    }
    return total / positions;
}

GrayPicture Negative(GrayPicture picture) {
    for (std::uint8_t& s : picture.samples)
        s = static_cast<std::uint8_t>(255 - s);
    return picture;
}

TEST(Ssim, KnownFigures) {
    // Flat 100 against flat 155 (its negative): no variance, so every window gives
    // (2·100·155 + C1) / (100² + 155² + C1) with C1 = 2.55².
    const double flat = (31000 + 6.5025) / (34025 + 6.5025);
    const struct {
        const char* what;
        GrayPicture x;
        GrayPicture y;
        double ssim;
    } cases[] = {
        {"equal pictures", RandomGray(40, 30, 1), RandomGray(40, 30, 1), 1.0},
        {"equal pictures smaller than the window", RandomGray(3, 5, 2), RandomGray(3, 5, 2), 1.0},
        {"flat against its negative", GrayPicture(64, 48, 100), GrayPicture(64, 48, 155), flat},
        {"the same, 1 x 1", GrayPicture(1, 1, 100), GrayPicture(1, 1, 155), flat},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(Ssim(c.x, c.y), c.ssim, 1e-12) << c.what;
}

TEST(Ssim, EqualsTheDefinitionWindowByWindow) {
    const struct {
        int width;
        int height;
    } sizes[] = {{37, 23}, {11, 11}, {12, 40}, {5, 30}, {30, 4}, {3, 5}};
    for (const auto& size : sizes) {
        const GrayPicture x = RandomGray(size.width, size.height, 7);
        const GrayPicture noisy = RandomGray(size.width, size.height, 8);
        const GrayPicture negative = Negative(x);
        EXPECT_NEAR(Ssim(x, noisy), DirectSsim(x, noisy), 1e-12)
            << size.width << "x" << size.height;
        EXPECT_NEAR(Ssim(x, negative), DirectSsim(x, negative), 1e-12);
        EXPECT_LT(Ssim(x, negative), 0.0);  // a negative is anti-correlated everywhere
    }
}

}  // namespace

}  // namespace zantrel
