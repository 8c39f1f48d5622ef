#pragma once
// How the optimised mode's values are quantised. A value of a block of level L (side 2^L) is a
// multiple of the step ValueStep(L), a gradient a multiple of GradientStep(L): larger blocks
// cover more pixels, so their values are worth finer steps. The file holds the two quantiser
// parameters; the steps follow from them. A zero value parameter means no quantisation: the
// exact mode's full-precision values.

#include <algorithm>
#include <cstdint>

namespace zantrel {

struct Quantiser {
    // The value step of a 1 x 1 block in 1/16 gray level; 0 for the exact mode.
    std::uint16_t value = 0;
    // The gradient step as a multiple of the value step, in 1/8.
    std::uint8_t gradient = 0;

    bool IsExact() const { return value == 0; }

    // The value step of level `level`: value / (16 * 2^level) rounded, within 1 .. 128.
    int ValueStep(int level) const {
        const std::int64_t divisor = std::int64_t{16} << level;
        return static_cast<int>(std::clamp<std::int64_t>((value + divisor / 2) / divisor, 1, 128));
    }
    // The gradient step of level `level`: the value step times gradient / 8 rounded, at least 1.
    int GradientStep(int level) const { return std::max(1, (ValueStep(level) * gradient + 4) / 8); }

    // The largest value index at step `step`: the one drawn as 255.
    static int MaxIndex(int step) { return (255 + step - 1) / step; }
    // The gray value of index `q` (0 .. MaxIndex) at step `step`.
    static std::uint8_t ValueOf(int q, int step) {
        return static_cast<std::uint8_t>(std::min(255, q * step));
    }
    // The index of a representable value, the inverse of ValueOf.
    static int IndexOf(int value, int step) { return value == 255 ? MaxIndex(step) : value / step; }
    // The index whose value is nearest to `v` (ties to the larger).
    static int NearestIndex(double v, int step) {
        const int low = std::clamp(static_cast<int>(v / step), 0, MaxIndex(step));
        const int high = std::min(low + 1, MaxIndex(step));
        return v - ValueOf(low, step) < ValueOf(high, step) - v ? low : high;
    }

    bool operator==(const Quantiser&) const = default;
};

}  // namespace zantrel
