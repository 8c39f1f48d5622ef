#include "optimise/Prune.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "codec/CutLineCode.h"
#include "linesearch/ParallelFor.h"
#include "linesearch/Threads.h"
#include "optimise/NeighbourPrediction.h"
#include "quadtree/GridPictures.h"
#include "quadtree/RegionFit.h"

namespace zantrel {

namespace {

// The squared error of `region` drawn in one value v, exactly.
std::int64_t FlatError(const RegionSums& region, int v) {
    return region.squares - 2 * static_cast<std::int64_t>(v) * region.sum +
           static_cast<std::int64_t>(v) * v * region.count;
}

// The indices a value is tried at: those next to the nearest one, and every one from it towards
// the prediction (whose difference costs the fewest bits), the prediction included, up to
// kReach steps; the distortion grows with every step, so further ones hardly ever pay.
constexpr int kReach = 8;
struct IndexRange {
    int first;
    int last;
};
IndexRange Candidates(int nearest, int predicted, int maxIndex) {
    const int towards = std::clamp(predicted, nearest - kReach, nearest + kReach);
    return {std::max(0, std::min(nearest - 1, towards)),
            std::min(maxIndex, std::max(nearest + 1, towards))};
}

struct LeafChoice {
    double cost = 0.0;
    double bits = 0.0;
    double error = 0.0;  // / 512
    LeafModel model;
};

using Cell = PruneWorkspace::Cell;
constexpr Cell Outside = PruneWorkspace::Outside;
constexpr Cell Leaf = PruneWorkspace::Leaf;
constexpr Cell Split = PruneWorkspace::Split;
using CellCost = PruneWorkspace::CellCost;

class Pruning {
  public:
    Pruning(const BlockSearch& search, const GrayPicture& gray, const SummedTables& sums,
            const GrayPicture& drawn, double penalty, const Quantiser& quantiser,
            const BitCosts& costs, const ModelKinds& kinds, int threads, PruneWorkspace& workspace)
        : m_search(search),
          m_gray(gray),
          m_drawn(drawn),
          m_sums(sums),
          m_penalty(penalty),
          m_quantiser(quantiser),
          m_costs(costs),
          m_contexts(costs.Contexts()),
          m_kinds(kinds),
          m_threads(ResolveThreadCount(threads)),
          m_cells(workspace.cells) {}

    PrunedTree Run() {
        const int levels = static_cast<int>(m_search.levels.size());
        m_cells.resize(levels);
        for (int level = 0; level < levels; ++level)
            DecideLevel(level);
        PrunedTree result;
        result.tree.width = m_gray.width;
        result.tree.height = m_gray.height;
        result.tree.penalty = m_penalty;
        result.tree.minBlockSize = m_search.settings.minBlockSize;
        result.tree.quantiser = m_quantiser;
        m_pending = {{levels - 1, 0, 0}};
        Build(levels - 1, 0, 0, result);
        return result;
    }

  private:
    // A block: its level and its row and column (in pixels, or in blocks while pending).
    struct LeafCell {
        int level;
        int row;
        int col;
    };

    const BlockLevel& LevelOf(int level) const { return m_search.levels[level]; }
    CellCost& At(int level, int blockRow, int blockCol) {
        return m_cells[level]
                      [static_cast<std::size_t>(blockRow) * LevelOf(level).columns + blockCol];
    }

    void DecideLevel(int level) {
        const BlockLevel& blocks = LevelOf(level);
        const int side = blocks.side;
        m_cells[level].assign(static_cast<std::size_t>(blocks.columns) * blocks.rows, {});
        // Below the minimum block size only the blocks whose parent straddles the picture's
        // edge may be leaves: those of the last parent row and column.
        const int parent = 2 * side;
        const bool edgeOnly = parent <= RootSide(m_gray.width, m_gray.height) &&
                              parent <= m_search.settings.minBlockSize;
        const int edgeRow = m_gray.height / parent * parent;
        const int edgeColumn = m_gray.width / parent * parent / side;
        // Every leaf's price first, rows in parallel: they depend on nothing of this level.
        ParallelFor(blocks.rows, m_threads, [&](int br, int) {
            const int first = edgeOnly && br * side < edgeRow ? edgeColumn : 0;
            for (int bc = first; bc < blocks.columns; ++bc) {
                const int row = br * side;
                const int col = bc * side;
                if (row + side > m_gray.height || col + side > m_gray.width ||
                    !m_search.MayBeLeaf(row, col, side))
                    continue;
                const LeafChoice leaf = BestLeaf(level, row, col);
                At(level, br, bc) = {leaf.cost, Leaf};
            }
        });
        // Then the splits, in raster order, each priced in its neighbours' context.
        for (int br = 0; br < blocks.rows; ++br) {
            for (int bc = 0; bc < blocks.columns; ++bc) {
                const int row = br * side;
                const int col = bc * side;
                CellCost& cell = At(level, br, bc);
                const bool inside = row + side <= m_gray.height && col + side <= m_gray.width;
                if (!inside) {
                    cell = Children(level, br, bc);
                    cell.state = Split;
                    continue;
                }
                if (cell.state != Leaf || !HasSplitBit(level, side))
                    continue;
                const BitContext& context = SplitContext(level, br, bc);
                CellCost split = Children(level, br, bc);
                split.cost += m_penalty * m_costs.Bit(context, true);
                cell.cost += m_penalty * m_costs.Bit(context, false);
                if (split.cost < cell.cost) {
                    cell = split;
                    cell.state = Split;
                }
            }
        }
    }

    // Whether an inside block of side `side` codes its split bit.
    bool HasSplitBit(int, int side) const {
        return side > 1 && side > m_search.settings.minBlockSize;
    }
    // The split bit's context as the file will choose it, the neighbours' states guessed from
    // their own preferences at this level.
    const BitContext& SplitContext(int level, int br, int bc) {
        return m_contexts.split[level][bc > 0 ? NeighbourState(level, br, bc - 1) : 0]
                               [br > 0 ? NeighbourState(level, br - 1, bc) : 0];
    }

    int NeighbourState(int level, int br, int bc) {
        return At(level, br, bc).state == Split ? 2 : 1;
    }

    CellCost Children(int level, int br, int bc) {
        CellCost total;
        const BlockLevel& below = LevelOf(level - 1);
        for (int dr = 0; dr < 2; ++dr) {
            for (int dc = 0; dc < 2; ++dc) {
                const int r = 2 * br + dr;
                const int c = 2 * bc + dc;
                if (r >= below.rows || c >= below.columns)
                    continue;
                total.cost += At(level - 1, r, c).cost;
            }
        }
        return total;
    }

    // The next leaf of the tree in Build's order; false after the last.
    bool NextLeafCell(LeafCell& leaf) {
        while (!m_pending.empty()) {
            const LeafCell block = m_pending.back();  // its row and column in blocks
            m_pending.pop_back();
            const BlockLevel& blocks = LevelOf(block.level);
            if (block.row >= blocks.rows || block.col >= blocks.columns)
                continue;
            const CellCost& cell = At(block.level, block.row, block.col);
            if (cell.state == Split) {
                for (const auto& [dr, dc] : {std::pair(1, 1), {0, 1}, {1, 0}, {0, 0}})
                    m_pending.push_back({block.level - 1, 2 * block.row + dr, 2 * block.col + dc});
            } else if (cell.state == Leaf) {
                leaf = {block.level, block.row * blocks.side, block.col * blocks.side};
                return true;
            }
        }
        return false;
    }

    // The chosen leaves' models, worked out again (the cells keep only costs) a batch at a
    // time on every core, and handed out in Build's order.
    const LeafChoice& NextLeaf() {
        if (m_nextLeaf == m_batch.size()) {
            m_batch.clear();
            LeafCell leaf;
            while (m_batch.size() < kLeavesPerBatch && NextLeafCell(leaf))
                m_batch.push_back({leaf, {}});
            const int count = static_cast<int>(m_batch.size());
            ParallelFor((count + kLeavesPerPiece - 1) / kLeavesPerPiece, m_threads,
                        [&](int piece, int) {
                            const int end = std::min(count, (piece + 1) * kLeavesPerPiece);
                            for (int i = piece * kLeavesPerPiece; i < end; ++i) {
                                auto& [cell, choice] = m_batch[static_cast<std::size_t>(i)];
                                choice = BestLeaf(cell.level, cell.row, cell.col);
                            }
                        });
            m_nextLeaf = 0;
        }
        return m_batch[m_nextLeaf++].second;
    }

    void Build(int level, int br, int bc, PrunedTree& result) {
        const BlockLevel& blocks = LevelOf(level);
        if (br >= blocks.rows || bc >= blocks.columns)
            return;
        const CellCost& cell = At(level, br, bc);
        const int side = blocks.side;
        const bool inside = (br + 1) * side <= m_gray.height && (bc + 1) * side <= m_gray.width;
        if (inside && cell.state != Outside && HasSplitBit(level, side))
            result.bits += m_costs.Bit(SplitContext(level, br, bc), cell.state == Split);
        if (cell.state == Split) {
            Build(level - 1, 2 * br, 2 * bc, result);
            Build(level - 1, 2 * br + 1, 2 * bc, result);
            Build(level - 1, 2 * br, 2 * bc + 1, result);
            Build(level - 1, 2 * br + 1, 2 * bc + 1, result);
            return;
        }
        if (cell.state != Leaf)
            return;
        const LeafChoice& leaf = NextLeaf();
        result.bits += leaf.bits;
        result.error += leaf.error;
        std::uint8_t value = 0;
        if (const OneValueModel* one = std::get_if<OneValueModel>(&leaf.model))
            value = one->value;
        else if (const PlaneModel* plane = std::get_if<PlaneModel>(&leaf.model))
            value = static_cast<std::uint8_t>(plane->plane.centre);
        result.tree.leaves.push_back({br * side, bc * side, side, value, 0.0, leaf.model});
    }

    // The squared error of the pixels `first` .. `last` - 1 of row j of a block of side n
    // drawn with `plane`; none for an empty run.
    static std::int64_t RunError(const std::uint8_t* pixels, const Plane& plane, int n, int j,
                                 int first, int last) {
        std::int64_t error = 0;
        std::int64_t numerator = PlaneNumerator(plane, n, j, first);
        for (int k = first; k < last; ++k, numerator += 2 * plane.gx) {
            const int d = pixels[k] - PlaneSample(numerator, n);
            error += d * d;
        }
        return error;
    }

    // The cost of a choice of `bits` bits and squared error `error` (in gray levels squared).
    double Cost(double error, double bits) const { return error * kErrorScale + m_penalty * bits; }

    LeafChoice BestLeaf(int level, int row, int col) {
        const int n = LevelOf(level).side;
        const int step = m_quantiser.ValueStep(level);
        RegionSums all;
        all.sum = m_sums.GraySum(row, col, n, n);
        all.squares = m_sums.SquareSum(row, col, n, n);
        all.count = n * n;
        if (n == 1) {
            const NeighbourPrediction p = PredictFromNeighbours(m_drawn, row, col, 1, nullptr);
            return OneValue(0, p.activity, p.predicted, step, all, true);
        }

        const BlockLevel& blocks = LevelOf(level);
        const BlockCandidate& c =
            blocks.candidates[blocks.candidate[static_cast<std::size_t>(row / n) * blocks.columns +
                                               col / n]];
        const CutSides sides(c.line);
        NeighbourPrediction p = PredictFromNeighbours(m_drawn, row, col, n, &sides);
        const int gradientStep = m_quantiser.GradientStep(level);
        p.gradients[0] = PredictGradientIndex(m_drawn, row, col, n, true, gradientStep);
        p.gradients[1] = PredictGradientIndex(m_drawn, row, col, n, false, gradientStep);
        LeafChoice best = OneValue(level, p.activity, p.predicted, step, all, false);
        if (m_kinds.cuts)
            Consider(best, Cut(level, row, col, n, step, c, p));
        if (m_kinds.ramps)
            Consider(best, Ramp(level, row, col, n, step, c, p, all));
        if (m_kinds.cutRamps)
            Consider(best, CutRamps(level, row, col, n, step, c, p));
        return best;
    }

    static void Consider(LeafChoice& best, const LeafChoice& other) {
        if (other.cost < best.cost)
            best = other;
    }

    // Bits of the leaf's kind: the cut bit and the ramp bit, for blocks of side 2 or more.
    double KindBits(int level, int activity, bool cut, bool ramp) const {
        return m_costs.Bit(m_contexts.cut[level][activity], cut) +
               m_costs.Bit(m_contexts.ramp[level][cut ? 1 : 0], ramp);
    }

    LeafChoice OneValue(int level, int activity, int predicted, int step, const RegionSums& all,
                        bool onePixel) {
        const double kindBits = onePixel ? 0.0 : KindBits(level, activity, false, false);
        const int predictedIndex = Quantiser::NearestIndex(predicted, step);
        const int nearest = Quantiser::NearestIndex(static_cast<double>(all.sum) / all.count, step);
        const ZtlContexts::Value& contexts = m_contexts.values[ZtlContexts::ByNeighbours][activity];
        LeafChoice best;
        best.cost = INFINITY;
        const int maxIndex = Quantiser::MaxIndex(step);
        const IndexRange range = Candidates(nearest, predictedIndex, maxIndex);
        for (int q = range.first; q <= range.last; ++q) {
            const int v = Quantiser::ValueOf(q, step);
            const double error = static_cast<double>(FlatError(all, v));
            const double bits = kindBits + m_costs.Difference(contexts, q - predictedIndex);
            const double cost = Cost(error, bits);
            if (cost < best.cost)
                best = {cost, bits, error * kErrorScale,
                        OneValueModel{static_cast<std::uint8_t>(v)}};
        }
        return best;
    }

    double LineBits(int level, int n, const BlockCandidate& c) const {
        const auto kind = static_cast<CutLineCode::Kind>(c.lineKind);
        if (kind == CutLineCode::Oblique)
            return m_costs.Bit(m_contexts.axis[level], false) +
                   BitCosts::Uniform(c.lineIndex, ObliqueLineCount(n));
        return m_costs.Bit(m_contexts.axis[level], true) +
               m_costs.Bit(m_contexts.constantRow[level], kind == CutLineCode::ConstantRow) +
               BitCosts::Uniform(c.lineIndex, static_cast<std::uint32_t>(n - 1));
    }

    // The two sides in the order the file codes them: the side with more neighbours first
    // (B on a tie), each with its prediction, role and activity; a second side without
    // neighbours is predicted by the first side's value.
    struct SideOrder {
        int first;  // 0 side B, 1 side A
        int predicted[2];
        bool hasNeighbours[2];
    };
    static SideOrder OrderOf(const NeighbourPrediction& c) {
        SideOrder order;
        order.first = c.neighboursA > c.neighboursB ? 1 : 0;
        order.predicted[0] = c.neighboursB ? c.predictedB : 128;
        order.predicted[1] = c.neighboursA ? c.predictedA : 128;
        order.hasNeighbours[0] = c.neighboursB > 0;
        order.hasNeighbours[1] = c.neighboursA > 0;
        return order;
    }
    const ZtlContexts::Value& SideContexts(bool hasNeighbours, int activity) const {
        return m_contexts
            .values[hasNeighbours ? ZtlContexts::ByNeighbours : ZtlContexts::ByOtherSide][activity];
    }

    // The pixels an oblique line crosses, with their share on side A, and the sums of the
    // pixels wholly on each side.
    struct CrossedPixel {
        int gray;
        std::int64_t areaA;
    };
    struct CutPixels {
        RegionSums whole[2];  // side B, side A
        std::int64_t scale = 1;
        std::vector<CrossedPixel> crossed;
    };
    void GatherCrossed(int row, int col, int n, const BlockCandidate& c, CutPixels& out) const {
        const CutSides sides(c.line);
        out.scale = sides.AreaScale();
        out.crossed.clear();
        out.whole[0] = c.b;
        out.whole[1] = c.a;
        out.whole[1].sum += c.on.sum;
        out.whole[1].squares += c.on.squares;
        out.whole[1].count += c.on.count;
        for (int j = 0; j < n; ++j) {
            int first, last;
            sides.CrossedColumns(j, n, first, last);
            for (int k = first; k <= last; ++k) {
                const std::int64_t area = sides.AreaOfA(j, k);
                if (area == 0 || area == out.scale)
                    continue;
                const int g = m_gray.At(row + j, col + k);
                RegionSums& whole = out.whole[sides.Of(j, k) == CutSide::B ? 0 : 1];
                whole.sum -= g;
                whole.squares -= g * g;
                --whole.count;
                out.crossed.push_back({g, area});
            }
        }
    }

    // The two values (B, A) of least squared error, blending aside the rounding: the least
    // squares of the pure pixels and the crossed ones' blends; the sides' means where the
    // equations are singular.
    static void BestBlendedValues(const CutPixels& pixels, const RegionSums aims[2],
                                  double values[2]) {
        // Normal equations in (b, a): pure sums plus, per crossed pixel of share s on A,
        // g ~ s a + (1 - s) b.
        double saa = pixels.whole[1].count, sbb = pixels.whole[0].count, sab = 0;
        double ga = static_cast<double>(pixels.whole[1].sum);
        double gb = static_cast<double>(pixels.whole[0].sum);
        for (const CrossedPixel& p : pixels.crossed) {
            const double s = static_cast<double>(p.areaA) / pixels.scale;
            saa += s * s;
            sbb += (1 - s) * (1 - s);
            sab += s * (1 - s);
            ga += s * p.gray;
            gb += (1 - s) * p.gray;
        }
        const double det = saa * sbb - sab * sab;
        if (det > 1e-9 * (saa * sbb + 1)) {
            values[1] = (ga * sbb - gb * sab) / det;
            values[0] = (gb * saa - ga * sab) / det;
            return;
        }
        for (int s = 0; s < 2; ++s)
            values[s] = aims[s].count ? static_cast<double>(aims[s].sum) / aims[s].count : 128.0;
    }

    LeafChoice Cut(int level, int row, int col, int n, int step, const BlockCandidate& c,
                   const NeighbourPrediction& p) {
        LeafChoice best;
        best.cost = INFINITY;
        const double fixedBits = KindBits(level, p.activity, true, false) + LineBits(level, n, c);
        thread_local CutPixels pixels;
        GatherCrossed(row, col, n, c, pixels);
        RegionSums sideA = c.a;  // A with the line's pixels, whose mean A's value aims at
        sideA.sum += c.on.sum;
        sideA.count += c.on.count;
        const RegionSums aims[2] = {c.b, sideA};
        const SideOrder order = OrderOf(p);
        const int first = order.first;
        const int second = 1 - first;
        const int maxIndex = Quantiser::MaxIndex(step);
        int nearest[2];
        double best2[2];
        BestBlendedValues(pixels, aims, best2);
        for (int s = 0; s < 2; ++s)
            nearest[s] = Quantiser::NearestIndex(std::clamp(best2[s], 0.0, 255.0), step);
        const ZtlContexts::Value& firstContexts =
            SideContexts(order.hasNeighbours[first], p.activity);
        const ZtlContexts::Value& secondContexts =
            SideContexts(order.hasNeighbours[second], order.hasNeighbours[second] ? p.activity : 4);
        const int predicted1 = Quantiser::NearestIndex(order.predicted[first], step);
        const IndexRange range1 = Candidates(nearest[first], predicted1, maxIndex);
        for (int q1 = range1.first; q1 <= range1.last; ++q1) {
            const double bits1 = fixedBits + m_costs.Difference(firstContexts, q1 - predicted1);
            const int v1 = Quantiser::ValueOf(q1, step);
            const int predicted2 = order.hasNeighbours[second]
                                       ? Quantiser::NearestIndex(order.predicted[second], step)
                                       : q1;
            const IndexRange range2 = Candidates(nearest[second], predicted2, maxIndex);
            for (int q2 = range2.first; q2 <= range2.last; ++q2) {
                const int v2 = Quantiser::ValueOf(q2, step);
                const int values[2] = {first == 0 ? v1 : v2, first == 0 ? v2 : v1};  // B, A
                std::int64_t crossedError = 0;
                for (const CrossedPixel& pixel : pixels.crossed) {
                    const int d =
                        pixel.gray - BlendSides(values[1], values[0], pixel.areaA, pixels.scale);
                    crossedError += d * d;
                }
                const double error =
                    static_cast<double>(FlatError(pixels.whole[0], values[0]) +
                                        FlatError(pixels.whole[1], values[1]) + crossedError);
                const double bits = bits1 + m_costs.Difference(secondContexts, q2 - predicted2);
                const double cost = Cost(error, bits);
                if (cost < best.cost)
                    best = {cost, bits, error * kErrorScale,
                            CutModel{c.line, static_cast<std::uint8_t>(values[1]),
                                     static_cast<std::uint8_t>(values[0])}};
            }
        }
        return best;
    }

    // A ramp of `fit` with its gradients on the level's gradient step and its centre the best
    // value for them, on the value step; nothing when both gradients come out 0.
    bool QuantiseRamp(const RampFit& fit, std::int64_t sum, std::int32_t count, int level,
                      Plane& plane, int gradientIndex[2]) const {
        const int step = m_quantiser.ValueStep(level);
        const int gradientStep = m_quantiser.GradientStep(level);
        const int limit = GradientIndexLimit(gradientStep);
        gradientIndex[0] =
            std::clamp(static_cast<int>(std::lround(fit.gx / gradientStep)), -limit, limit);
        gradientIndex[1] =
            std::clamp(static_cast<int>(std::lround(fit.gy / gradientStep)), -limit, limit);
        plane.gx = static_cast<std::int16_t>(gradientIndex[0] * gradientStep);
        plane.gy = static_cast<std::int16_t>(gradientIndex[1] * gradientStep);
        if (count == 0)
            return false;
        const double centre =
            (static_cast<double>(sum) - plane.gx * fit.sumU - plane.gy * fit.sumV) / count;
        plane.centre = Quantiser::ValueOf(Quantiser::NearestIndex(centre, step), step);
        return !plane.IsFlat();
    }

    double RampBits(const ZtlContexts::Value& valueContexts, int valueDifference, int activity,
                    const int gradientIndex[2], const NeighbourPrediction& p) const {
        const ZtlContexts::Value& gradients = m_contexts.gradient[activity];
        return m_costs.Difference(valueContexts, valueDifference) +
               m_costs.Difference(gradients, gradientIndex[0] - p.gradients[0]) +
               m_costs.Difference(gradients, gradientIndex[1] - p.gradients[1]);
    }

    LeafChoice Ramp(int level, int row, int col, int n, int step, const BlockCandidate& c,
                    const NeighbourPrediction& p, const RegionSums& all) {
        LeafChoice none;
        none.cost = INFINITY;
        Plane plane;
        int gradientIndex[2];
        if (!QuantiseRamp(c.ramp, all.sum, all.count, level, plane, gradientIndex))
            return none;
        const int predictedIndex = Quantiser::NearestIndex(p.predicted, step);
        const double bits = KindBits(level, p.activity, false, true) +
                            RampBits(m_contexts.values[ZtlContexts::ByNeighbours][p.activity],
                                     Quantiser::IndexOf(plane.centre, step) - predictedIndex,
                                     p.activity, gradientIndex, p);
        std::int64_t error = 0;
        for (int j = 0; j < n; ++j) {
            const std::uint8_t* pixels = m_gray.samples.data() + m_gray.Index(row + j, col);
            std::int64_t numerator = PlaneNumerator(plane, n, j, 0);
            for (int k = 0; k < n; ++k, numerator += 2 * plane.gx) {
                const int d = pixels[k] - PlaneSample(numerator, n);
                error += d * d;
            }
        }
        return {Cost(static_cast<double>(error), bits), bits, error * kErrorScale,
                PlaneModel{plane}};
    }

    LeafChoice CutRamps(int level, int row, int col, int n, int step, const BlockCandidate& c,
                        const NeighbourPrediction& p) {
        LeafChoice none;
        none.cost = INFINITY;
        Plane planes[2];  // B, A
        int gradientIndex[2][2];
        const bool rampB =
            QuantiseRamp(c.rampB, c.b.sum, c.b.count, level, planes[0], gradientIndex[0]);
        const bool rampA = QuantiseRamp(c.rampA, c.a.sum + c.on.sum, c.a.count + c.on.count, level,
                                        planes[1], gradientIndex[1]);
        if (!rampA && !rampB)
            return none;
        const SideOrder order = OrderOf(p);
        const int first = order.first;
        const int second = 1 - first;
        const int firstIndex = Quantiser::IndexOf(planes[first].centre, step);
        const int secondPredicted = order.hasNeighbours[second]
                                        ? Quantiser::NearestIndex(order.predicted[second], step)
                                        : firstIndex;
        const int secondActivity = order.hasNeighbours[second] ? p.activity : 4;
        const double bits =
            KindBits(level, p.activity, true, true) + LineBits(level, n, c) +
            RampBits(SideContexts(order.hasNeighbours[first], p.activity),
                     firstIndex - Quantiser::NearestIndex(order.predicted[first], step), p.activity,
                     gradientIndex[first], p) +
            RampBits(SideContexts(order.hasNeighbours[second], secondActivity),
                     Quantiser::IndexOf(planes[second].centre, step) - secondPredicted,
                     secondActivity, gradientIndex[second], p);
        const CutSides sides(c.line);
        const std::int64_t scale = sides.AreaScale();
        std::int64_t error = 0;
        for (int j = 0; j < n; ++j) {
            const std::uint8_t* pixels = m_gray.samples.data() + m_gray.Index(row + j, col);
            const CutSides::RowRuns runs = sides.RowOf(j, n);
            int firstCrossed, lastCrossed;
            sides.CrossedColumns(j, n, firstCrossed, lastCrossed);
            // The row in runs of one plane each around the crossed pixels, which blend both:
            // side B before runs.bEnd, side A from there (the line's pixel included).
            if (firstCrossed > lastCrossed) {
                firstCrossed = lastCrossed = n;  // none: the runs cover the row
            } else {
                firstCrossed = std::clamp(firstCrossed, 0, n);
                lastCrossed = std::clamp(lastCrossed + 1, firstCrossed, n);  // one past
            }
            error += RunError(pixels, planes[0], n, j, 0, std::min(runs.bEnd, firstCrossed));
            error += RunError(pixels, planes[1], n, j, std::max(0, runs.bEnd), firstCrossed);
            error += RunError(pixels, planes[0], n, j, lastCrossed, runs.bEnd);
            error += RunError(pixels, planes[1], n, j, std::max(runs.bEnd, lastCrossed), n);
            for (int k = firstCrossed; k < lastCrossed; ++k) {
                const int d =
                    pixels[k] - BlendSides(PlaneAt(planes[1], n, j, k), PlaneAt(planes[0], n, j, k),
                                           sides.AreaOfA(j, k), scale);
                error += d * d;
            }
        }
        return {Cost(static_cast<double>(error), bits), bits, error * kErrorScale,
                CutPlanesModel{c.line, planes[1], planes[0]}};
    }

    const BlockSearch& m_search;
    const GrayPicture& m_gray;
    const GrayPicture& m_drawn;  // where the neighbours' predictions are read
    const SummedTables& m_sums;
    double m_penalty;
    Quantiser m_quantiser;
    const BitCosts& m_costs;
    const ZtlContexts& m_contexts;
    ModelKinds m_kinds;
    int m_threads;
    std::vector<std::vector<CellCost>>& m_cells;  // per level, per cell
    static constexpr int kLeavesPerPiece = 64;
    static constexpr std::size_t kLeavesPerBatch = 4096;
    std::vector<LeafCell> m_pending;  // the blocks still to visit, the next last
    std::vector<std::pair<LeafCell, LeafChoice>> m_batch;
    std::size_t m_nextLeaf = 0;  // in m_batch
};

}  // namespace

PrunedTree Prune(const BlockSearch& search, const GrayPicture& gray, const SummedTables& sums,
                 const GrayPicture& drawn, double penalty, const Quantiser& quantiser,
                 const BitCosts& costs, const ModelKinds& kinds, PruneWorkspace& workspace) {
    return Pruning(search, gray, sums, drawn, penalty, quantiser, costs, kinds,
                   search.settings.threads, workspace)
        .Run();
}

}  // namespace zantrel
