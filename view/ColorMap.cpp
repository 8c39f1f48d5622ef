#include "view/ColorMap.h"

#include <algorithm>
#include <cmath>

namespace zantrel {

namespace {

// The map at 0, 0.1, …, 1.
constexpr int kStops[][3] = {
    {68, 1, 84},    {72, 36, 117},  {65, 68, 135},  {53, 95, 141},  {42, 120, 142}, {33, 145, 140},
    {34, 168, 132}, {68, 191, 112}, {122, 209, 81}, {189, 223, 38}, {253, 231, 37},
};
constexpr int kLast = static_cast<int>(std::size(kStops)) - 1;

}  // namespace

QRgb ColorMapAt(double t) {
    const double position = std::clamp(t, 0.0, 1.0) * kLast;
    const int below = std::min(static_cast<int>(position), kLast - 1);
    const double fraction = position - below;
    int channels[3];
    for (int i = 0; i < 3; ++i) {
        const double from = kStops[below][i];
        const double to = kStops[below + 1][i];
        channels[i] = static_cast<int>(std::lround(from + (to - from) * fraction));
    }
    return qRgb(channels[0], channels[1], channels[2]);
}

}  // namespace zantrel
