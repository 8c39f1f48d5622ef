#pragma once
// The one walk over a decomposition that both writes and reads a .ztl payload. The encoder
// runs it with a coder that writes the bits a source of truth gives; the decoder runs it with
// a coder that reads them, so the two can never disagree on an order or a context. Both
// rebuild the approximation as they go: the values are predicted from pixels already drawn.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "codec/BinaryCoder.h"
#include "codec/CutLineCode.h"
#include "codec/ZtlSettings.h"
#include "quadtree/GridPictures.h"

namespace zantrel {

// The adaptive contexts of the payload.
struct ZtlContexts {
    static constexpr int kLevels = 15;  // block sides 1 .. 16384
    // A value coded as its difference d from a prediction: zero flag, sign, the bit length of
    // |d| in unary, the bit under the leading one, then the rest as bypass bits. Values have
    // at most 8 bits; version 2's gradients up to 10.
    static constexpr int kValueBits = 8;
    static constexpr int kGradientBits = 10;
    struct Value {
        BitContext zero;
        BitContext negative;
        BitContext length[kGradientBits - 1];
        BitContext second[kGradientBits];
    };
    // A value predicted by its neighbours (a one-value leaf, a cut side with neighbours), or a
    // cut side without any, predicted by the other side.
    enum Role { ByNeighbours, ByOtherSide, kRoles };
    static constexpr int kActivities = 5;  // the range of the neighbour pixels, or none

    BitContext split[kLevels][3][3];  // level, left neighbour, neighbour below: none/leaf/split
    BitContext cut[kLevels][kActivities];
    BitContext axis[kLevels];
    BitContext constantRow[kLevels];
    Value values[kRoles][kActivities];
    // Version 2 only: whether a leaf's regions are ramps (level, cut or not), and the ramps'
    // gradients as differences from 0.
    BitContext ramp[kLevels][2];
    Value gradient[kActivities];
};

// The largest |gx| and |gy| of a ramp a version 2 file may hold, and the largest gradient
// index, so that a difference from a prediction stays within 10 bits.
inline constexpr int kMaxGradient = 1024;
inline constexpr int kMaxGradientIndex = 511;

inline int GradientIndexLimit(int gradientStep) {
    return std::min(kMaxGradientIndex, kMaxGradient / gradientStep);
}

// The gradient index a version 2 ramp of the block (row, col) of side n is predicted with,
// from the drawn pixels just below it (gx, along the row) or just left of it (gy): their
// least-squares slope across the block, at `gradientStep`, rounded; 0 without them.
inline int PredictGradientIndex(const GrayPicture& drawn, int row, int col, int n, bool alongRow,
                                int gradientStep) {
    if (n < 2 || (alongRow ? row : col) == 0)
        return 0;
    std::int64_t weighted = 0;
    for (int k = 0; k < n; ++k) {
        const int v = alongRow ? drawn.At(row - 1, col + k) : drawn.At(row + k, col - 1);
        weighted += static_cast<std::int64_t>(v) * (2 * k + 1 - n);
    }
    // The slope per pixel is 6 w / (n (n^2 - 1)), so the change across the block is
    // 6 w / (n^2 - 1); in gradient steps, rounded half up.
    const std::int64_t numerator = 6 * weighted;
    const std::int64_t denominator = (static_cast<std::int64_t>(n) * n - 1) * gradientStep;
    const std::int64_t twice = 2 * numerator + denominator;
    const std::int64_t index = twice >= 0 ? twice / (2 * denominator)
                                          : -((-twice + 2 * denominator - 1) / (2 * denominator));
    const int limit = GradientIndexLimit(gradientStep);
    return static_cast<int>(std::clamp<std::int64_t>(index, -limit, limit));
}

// The number of a context within `contexts`, for statistics kept per context.
inline std::size_t ZtlContextIndex(const ZtlContexts& contexts, const BitContext& context) {
    return static_cast<std::size_t>(reinterpret_cast<const char*>(&context) -
                                    reinterpret_cast<const char*>(&contexts)) /
           sizeof(BitContext);
}
inline constexpr std::size_t kZtlContextCount = sizeof(ZtlContexts) / sizeof(BitContext);

inline int Level(int size) {
    int level = 0;
    while ((1 << level) < size)
        ++level;
    return level;
}

// Coder: bool Bit(bool bit, BitContext&), std::uint32_t Bits(std::uint32_t value, int count)
// and bool Failed(); each returns what it wrote or read. Source: bool IsSplit(row, col, size)
// and LeafModel Leaf(row, col, size), asked only by the encoder's walk, in tree order.
template <typename Coder, typename Source>
class ZtlWalk {
  public:
    ZtlWalk(const ZtlSettings& settings, Coder& coder, Source& source)
        : m_settings(settings),
          m_coder(coder),
          m_source(source),
          m_result(settings.width, settings.height) {
        const int root = RootSide(settings.width, settings.height);
        for (int size = 2; size <= root; size *= 2) {
            const auto columns = static_cast<std::size_t>((settings.width + size - 1) / size);
            const auto rows = static_cast<std::size_t>((settings.height + size - 1) / size);
            m_splits.emplace_back(columns, std::vector<bool>(columns * rows));
        }
    }

    // Walks the whole tree; false when the coder failed (a decoder ran out of stream) or a
    // decoded value left 0 .. 255.
    bool Run() {
        Node(0, 0, RootSide(m_settings.width, m_settings.height), true);
        return !m_failed && !m_coder.Failed();
    }

    GrayPicture& Result() { return m_result; }
    const ZtlContexts& Contexts() const { return m_contexts; }
    // The leaves in tree order; a cut leaf's one-value fit is not in the file and is 0.
    std::vector<QuadBlock>& Leaves() { return m_leaves; }

  private:
    struct SplitCells {
        SplitCells(std::size_t c, std::vector<bool> b) : columns(c), bits(std::move(b)) {}
        std::size_t columns;
        std::vector<bool> bits;
    };

    bool Stopped() const { return m_failed || m_coder.Failed(); }

    std::vector<bool>::reference SplitBit(int size, int row, int col) {
        SplitCells& cells = m_splits[Level(size) - 1];
        return cells.bits[static_cast<std::size_t>(row / size) * cells.columns + col / size];
    }

    // 0 no neighbour, 1 a neighbour of this size or a larger leaf, 2 a split neighbour.
    int NeighbourState(int row, int col, int size) {
        if (row < 0 || col < 0)
            return 0;
        return SplitBit(size, row, col) ? 2 : 1;
    }

    void Node(int row, int col, int size, bool root) {
        if (Stopped() || row >= m_settings.height || col >= m_settings.width)
            return;
        const bool inside = row + size <= m_settings.height && col + size <= m_settings.width;
        bool split = !inside;  // a block across the picture's edge is always split
        // Version 1 stops at the minimum block size alone; version 2 at every side up to it.
        const bool mayStop = m_settings.version == kZtlExactVersion
                                 ? root || size != m_settings.minBlockSize
                                 : size > m_settings.minBlockSize;
        if (inside && size > 1 && mayStop) {
            BitContext& context = m_contexts.split[Level(size)][NeighbourState(
                row, col - size, size)][NeighbourState(row - size, col, size)];
            split = m_coder.Bit(m_source.IsSplit(row, col, size), context);
        }
        if (!split) {
            if (m_settings.version == kZtlExactVersion)
                Leaf(row, col, size);
            else
                QuantisedLeaf(row, col, size);
            return;
        }
        SplitBit(size, row, col) = true;
        const int h = size / 2;
        Node(row, col, h, false);
        Node(row + h, col, h, false);
        Node(row, col + h, h, false);
        Node(row + h, col + h, h, false);
    }

    // The pixels just below and just left of a block, already drawn, summed per side.
    struct Neighbours {
        int sum[2] = {0, 0};  // [0] all, or side B of a cut leaf; [1] side A
        int count[2] = {0, 0};
        int belowSum[2] = {0, 0};
        int belowCount[2] = {0, 0};
        int leftSum[2] = {0, 0};
        int leftCount[2] = {0, 0};
        int below = -1;  // the rounded means of the row below and the column left, -1 for none
        int left = -1;
        int lowest = 255;  // the range of all of them
        int highest = -1;
    };

    static int RoundedMean(int sum, int count) { return (2 * sum + count) / (2 * count); }

    template <typename SideOf>
    Neighbours GatherNeighbours(int row, int col, int size, SideOf sideOf) {
        Neighbours n;
        int belowSum = 0, leftSum = 0;
        for (int k = 0; k < size; ++k) {
            if (row > 0) {
                const int v = m_result.At(row - 1, col + k);
                belowSum += v;
                n.lowest = std::min(n.lowest, v);
                n.highest = std::max(n.highest, v);
                n.sum[sideOf(0, k)] += v;
                ++n.count[sideOf(0, k)];
                n.belowSum[sideOf(0, k)] += v;
                ++n.belowCount[sideOf(0, k)];
            }
            if (col > 0) {
                const int v = m_result.At(row + k, col - 1);
                leftSum += v;
                n.lowest = std::min(n.lowest, v);
                n.highest = std::max(n.highest, v);
                n.sum[sideOf(k, 0)] += v;
                ++n.count[sideOf(k, 0)];
                n.leftSum[sideOf(k, 0)] += v;
                ++n.leftCount[sideOf(k, 0)];
            }
        }
        if (row > 0)
            n.below = RoundedMean(belowSum, size);
        if (col > 0)
            n.left = RoundedMean(leftSum, size);
        return n;
    }

    // How much the neighbours vary: 0 .. 3, or 4 for none.
    static int Activity(const Neighbours& n) {
        if (n.highest < 0)
            return 4;
        const int d = n.highest - n.lowest;
        return d <= 2 ? 0 : d <= 6 ? 1 : d <= 16 ? 2 : 3;
    }

    ZtlContexts::Value& ValueContexts(ZtlContexts::Role role, int activity) {
        return m_contexts.values[role][activity];
    }

    void Leaf(int row, int col, int size) {
        const LeafModel truthModel = m_source.Leaf(row, col, size);
        const CutModel* truthCut = std::get_if<CutModel>(&truthModel);
        const Neighbours all = GatherNeighbours(row, col, size, [](int, int) { return 0; });
        const bool cut = size > 1 && m_coder.Bit(truthCut != nullptr,
                                                 m_contexts.cut[Level(size)][Activity(all)]);
        if (!cut) {
            const Neighbours& n = all;
            const int predicted = OneValuePrediction(n, row, col);
            const std::uint8_t truth = truthCut ? 0 : std::get<OneValueModel>(truthModel).value;
            const std::uint8_t value =
                CodeValue(truth, predicted, ValueContexts(ZtlContexts::ByNeighbours, Activity(n)));
            AddLeaf({row, col, size, value, 0.0, OneValueModel{value}});
            return;
        }

        const CutLineCode truthLine =
            truthCut ? EncodeCutLine(size, truthCut->line).value() : CutLineCode{};
        CutModel model{DecodeCutLine(size, CodeLine(truthLine, size)), 0, 0};
        const CutSides sides(model.line);
        // A pixel on the line counts with side A, as in the search.
        const Neighbours n = GatherNeighbours(
            row, col, size, [&](int j, int k) { return sides.Of(j, k) == CutSide::B ? 0 : 1; });
        // The side with more neighbours first; a side without any is predicted by the other.
        const int first = n.count[1] > n.count[0] ? 1 : 0;
        const int second = 1 - first;
        const std::uint8_t truths[2] = {truthCut ? truthCut->valueB : std::uint8_t{0},
                                        truthCut ? truthCut->valueA : std::uint8_t{0}};
        int predicted[2] = {SidePrediction(n, 0, 128), SidePrediction(n, 1, 128)};
        std::uint8_t values[2];
        values[first] = CodeValue(
            truths[first], predicted[first],
            ValueContexts(n.count[first] ? ZtlContexts::ByNeighbours : ZtlContexts::ByOtherSide,
                          Activity(n)));
        if (!n.count[second])
            predicted[second] = values[first];
        values[second] = CodeValue(
            truths[second], predicted[second],
            ValueContexts(n.count[second] ? ZtlContexts::ByNeighbours : ZtlContexts::ByOtherSide,
                          n.count[second] ? Activity(n) : 4));
        model.valueB = values[0];
        model.valueA = values[1];
        AddLeaf({row, col, size, 0, 0.0, model});
    }

    int OneValuePrediction(const Neighbours& n, int row, int col) const {
        int predicted = n.count[0] ? RoundedMean(n.sum[0], n.count[0]) : 128;
        // Where both are known, the median of below, left and their gradient.
        if (n.below >= 0 && n.left >= 0) {
            const int corner = m_result.At(row - 1, col - 1);
            const int gradient = std::clamp(n.below + n.left - corner, 0, 255);
            predicted =
                std::max(std::min(n.below, n.left), std::min(std::max(n.below, n.left), gradient));
        }
        return predicted;
    }

    // A version 2 leaf: as version 1, but with a ramp bit after the cut bit, every value an
    // index at the level's step, and a ramp's gradients after its value.
    void QuantisedLeaf(int row, int col, int size) {
        const LeafModel truth = m_source.Leaf(row, col, size);
        const int level = Level(size);
        const int step = m_settings.quantiser.ValueStep(level);
        const int gradientStep = m_settings.quantiser.GradientStep(level);
        const Neighbours all = GatherNeighbours(row, col, size, [](int, int) { return 0; });
        const int activity = Activity(all);
        const CutModel* truthCut = std::get_if<CutModel>(&truth);
        const CutPlanesModel* truthCutPlanes = std::get_if<CutPlanesModel>(&truth);
        const PlaneModel* truthPlane = std::get_if<PlaneModel>(&truth);
        const bool cut =
            size > 1 && m_coder.Bit(truthCut || truthCutPlanes, m_contexts.cut[level][activity]);
        const bool ramp =
            size > 1 && m_coder.Bit(truthPlane || truthCutPlanes, m_contexts.ramp[level][cut]);
        // Both regions' gradients are predicted by the slopes of the pixels below and left.
        const int gradientPrediction[2] = {
            ramp ? PredictGradientIndex(m_result, row, col, size, true, gradientStep) : 0,
            ramp ? PredictGradientIndex(m_result, row, col, size, false, gradientStep) : 0};
        if (!cut) {
            Plane truthRamp;
            if (truthPlane)
                truthRamp = truthPlane->plane;
            else if (const OneValueModel* one = std::get_if<OneValueModel>(&truth))
                truthRamp.centre = one->value;
            const Plane plane = CodePlane(truthRamp, ramp, OneValuePrediction(all, row, col),
                                          ZtlContexts::ByNeighbours, activity, step, gradientStep,
                                          gradientPrediction);
            const auto value = static_cast<std::uint8_t>(plane.centre);
            if (ramp)
                AddLeaf({row, col, size, value, 0.0, PlaneModel{plane}});
            else
                AddLeaf({row, col, size, value, 0.0, OneValueModel{value}});
            return;
        }

        CutLine truthLine{};
        Plane truths[2];  // [0] side B, [1] side A
        if (truthCut) {
            truthLine = truthCut->line;
            truths[0].centre = truthCut->valueB;
            truths[1].centre = truthCut->valueA;
        } else if (truthCutPlanes) {
            truthLine = truthCutPlanes->line;
            truths[0] = truthCutPlanes->b;
            truths[1] = truthCutPlanes->a;
        }
        const CutLineCode truthCode =
            truthCut || truthCutPlanes ? EncodeCutLine(size, truthLine).value() : CutLineCode{};
        const CutLine line = DecodeCutLine(size, CodeLine(truthCode, size));
        const CutSides sides(line);
        const Neighbours n = GatherNeighbours(
            row, col, size, [&](int j, int k) { return sides.Of(j, k) == CutSide::B ? 0 : 1; });
        const int first = n.count[1] > n.count[0] ? 1 : 0;
        const int second = 1 - first;
        Plane planes[2];
        planes[first] =
            CodePlane(truths[first], ramp, SidePrediction(n, first, 128),
                      n.count[first] ? ZtlContexts::ByNeighbours : ZtlContexts::ByOtherSide,
                      activity, step, gradientStep, gradientPrediction);
        const int secondPrediction =
            n.count[second] ? SidePrediction(n, second, 128) : planes[first].centre;
        planes[second] =
            CodePlane(truths[second], ramp, secondPrediction,
                      n.count[second] ? ZtlContexts::ByNeighbours : ZtlContexts::ByOtherSide,
                      n.count[second] ? activity : 4, step, gradientStep, gradientPrediction);
        if (ramp) {
            AddLeaf({row, col, size, 0, 0.0, CutPlanesModel{line, planes[1], planes[0]}});
        } else {
            AddLeaf({row, col, size, 0, 0.0,
                     CutModel{line, static_cast<std::uint8_t>(planes[1].centre),
                              static_cast<std::uint8_t>(planes[0].centre)}});
        }
    }

    // A region's value as an index at `step` predicted by the nearest index to `predicted`,
    // then, for a ramp, its two gradients as indices at `gradientStep`.
    Plane CodePlane(const Plane& truth, bool ramp, int predicted, ZtlContexts::Role role,
                    int activity, int step, int gradientStep, const int gradientPrediction[2]) {
        const int maxIndex = Quantiser::MaxIndex(step);
        const int truthIndex = Quantiser::IndexOf(truth.centre, step);
        const int predictedIndex = Quantiser::NearestIndex(predicted, step);
        const int index =
            predictedIndex + CodeDifference(truthIndex - predictedIndex,
                                            ValueContexts(role, activity), ZtlContexts::kValueBits);
        Plane plane;
        if (index < 0 || index > maxIndex) {
            m_failed = true;
            return plane;
        }
        plane.centre = Quantiser::ValueOf(index, step);
        if (!ramp)
            return plane;
        ZtlContexts::Value& contexts = m_contexts.gradient[activity];
        const int predictedX = gradientPrediction[0];
        const int predictedY = gradientPrediction[1];
        const int gx = (predictedX + CodeDifference(truth.gx / gradientStep - predictedX, contexts,
                                                    ZtlContexts::kGradientBits)) *
                       gradientStep;
        const int gy = (predictedY + CodeDifference(truth.gy / gradientStep - predictedY, contexts,
                                                    ZtlContexts::kGradientBits)) *
                       gradientStep;
        if (std::abs(gx) > kMaxGradient || std::abs(gy) > kMaxGradient) {  // a damaged file
            m_failed = true;
            return plane;
        }
        plane.gx = static_cast<std::int16_t>(gx);
        plane.gy = static_cast<std::int16_t>(gy);
        return plane;
    }

    void AddLeaf(const QuadBlock& leaf) {
        DrawLeaf(leaf, m_result,
                 m_settings.version == kZtlExactVersion ? CutEdges::Middle : CutEdges::Blended);
        m_leaves.push_back(leaf);
    }

    static int SidePrediction(const Neighbours& n, int side, int otherwise) {
        return n.count[side] ? RoundedMean(n.sum[side], n.count[side]) : otherwise;
    }

    CutLineCode CodeLine(const CutLineCode& truth, int size) {
        const int level = Level(size);
        CutLineCode code{};
        if (m_coder.Bit(truth.kind != CutLineCode::Oblique, m_contexts.axis[level])) {
            code.kind =
                m_coder.Bit(truth.kind == CutLineCode::ConstantRow, m_contexts.constantRow[level])
                    ? CutLineCode::ConstantRow
                    : CutLineCode::ConstantColumn;
            code.index = Uniform(truth.index, static_cast<std::uint32_t>(size - 1));
        } else {
            code.kind = CutLineCode::Oblique;
            code.index = Uniform(truth.index, ObliqueLineCount(size));
        }
        return code;
    }

    // A value below `count` in a truncated binary code: the first values take one bit less.
    std::uint32_t Uniform(std::uint32_t value, std::uint32_t count) {
        if (count <= 1)
            return 0;
        int bits = 0;
        while ((std::uint64_t{1} << (bits + 1)) <= count)
            ++bits;
        const std::uint32_t shortCodes =
            static_cast<std::uint32_t>((std::uint64_t{2} << bits) - count);
        const bool isShort = value < shortCodes;
        std::uint32_t x = m_coder.Bits(isShort ? value : (value + shortCodes) >> 1, bits);
        if (x < shortCodes)
            return x;
        x = (x << 1) | m_coder.Bits((value + shortCodes) & 1u, 1);
        return x - shortCodes;
    }

    std::uint8_t CodeValue(std::uint8_t truth, int predicted, ZtlContexts::Value& contexts) {
        const int value =
            predicted + CodeDifference(truth - predicted, contexts, ZtlContexts::kValueBits);
        if (value < 0 || value > 255) {
            m_failed = true;
            return 0;
        }
        return static_cast<std::uint8_t>(value);
    }

    // A difference of less than 2^maxBits either way.
    int CodeDifference(int d, ZtlContexts::Value& contexts, int maxBits) {
        if (m_coder.Bit(d == 0, contexts.zero))
            return 0;
        const bool negative = m_coder.Bit(d < 0, contexts.negative);
        const int magnitude = std::abs(d);
        int length = 1;  // the bit length of the magnitude, 1 .. 8
        while (length < maxBits &&
               m_coder.Bit((magnitude >> length) != 0, contexts.length[length - 1]))
            ++length;
        int decoded = 1;
        for (int b = length - 2; b >= 0; --b) {
            const bool truthBit = ((magnitude >> b) & 1) != 0;
            const bool bit = b == length - 2 ? m_coder.Bit(truthBit, contexts.second[length - 1])
                                             : m_coder.Bits(truthBit ? 1 : 0, 1) != 0;
            decoded = (decoded << 1) | (bit ? 1 : 0);
        }
        return negative ? -decoded : decoded;
    }

    const ZtlSettings& m_settings;
    Coder& m_coder;
    Source& m_source;
    ZtlContexts m_contexts;
    GrayPicture m_result;
    std::vector<SplitCells> m_splits;  // per level from side 2: which blocks were split
    std::vector<QuadBlock> m_leaves;
    bool m_failed = false;
};

}  // namespace zantrel
