#pragma once
// A linear gray ramp over a square block: the value at the block's centre and the total change
// across the block from its left edge to its right (gx) and from its bottom edge to its top
// (gy), all in gray levels. Pixel (r, c) of a block of side n is drawn at
//   centre + gx * (c + 1/2 - n/2) / n + gy * (r + 1/2 - n/2) / n,
// rounded half up and clamped to 0 .. 255, computed exactly in integers so that the encoder,
// the decoder and every drawing agree on each pixel.

#include <algorithm>
#include <bit>
#include <cstdint>

namespace zantrel {

struct Plane {
    std::int16_t centre = 0;
    std::int16_t gx = 0;
    std::int16_t gy = 0;

    bool IsFlat() const { return gx == 0 && gy == 0; }
    bool operator==(const Plane&) const = default;
};

// The plane's numerator at block-local pixel (r, c) of side n, in units of 1 / (2n).
inline std::int64_t PlaneNumerator(const Plane& p, int n, int r, int c) {
    return 2 * static_cast<std::int64_t>(n) * p.centre +
           static_cast<std::int64_t>(p.gx) * (2 * c + 1 - n) +
           static_cast<std::int64_t>(p.gy) * (2 * r + 1 - n);
}

// The drawn value of a numerator in units of 1 / (2n), n a power of two (a block's side):
// + 1/2, then the floor, which an arithmetic shift gives exactly.
inline std::uint8_t PlaneSample(std::int64_t numerator, int n) {
    const int shift = std::countr_zero(static_cast<unsigned>(n)) + 1;
    const std::int64_t floor = (numerator + n) >> shift;
    return static_cast<std::uint8_t>(std::clamp<std::int64_t>(floor, 0, 255));
}

inline std::uint8_t PlaneAt(const Plane& p, int n, int r, int c) {
    return PlaneSample(PlaneNumerator(p, n, r, c), n);
}

}  // namespace zantrel
