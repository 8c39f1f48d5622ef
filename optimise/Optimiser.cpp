#include "optimise/Optimiser.h"

#include <algorithm>
#include <cmath>

#include "codec/ZtlFile.h"
#include "quadtree/GridPictures.h"

namespace zantrel {

std::optional<Optimiser> Optimiser::Search(const GrayPicture& gray, const SummedTables& sums,
                                           const OptimiseSettings& settings, Progress& progress) {
    std::optional<BlockSearch> search = SearchEveryBlock(gray, sums, settings.search, progress);
    if (!search)
        return std::nullopt;
    return Optimiser(gray, sums, settings, std::move(*search));
}

Quantiser Optimiser::QuantiserFor(double penalty) const {
    // 6 * 512 / ln 2: the penalty is per bit in units of squared error / 512.
    const double step = m_settings.stepScale * std::sqrt(4431.9 * std::max(penalty, 0.0));
    Quantiser quantiser;
    quantiser.value = static_cast<std::uint16_t>(std::clamp(std::lround(16.0 * step), 16L, 65535L));
    quantiser.gradient = std::max<std::uint8_t>(m_settings.gradientFactor, 1);
    return quantiser;
}

OptimisedRun Optimiser::Run(double penalty) {
    const Quantiser quantiser = QuantiserFor(penalty);
    BitCosts costs = m_statistics ? BitCosts(*m_statistics) : BitCosts();
    OptimisedRun run;
    run.penalty = penalty;
    const int passes = std::max(1, m_settings.passes);
    for (int pass = 0; pass < passes; ++pass) {
        // Each pass predicts from the last drawing, of this penalty or the one before.
        const GrayPicture& drawn = m_drawn.samples.empty() ? *m_gray : m_drawn;
        PrunedTree pruned = Prune(m_search, *m_gray, *m_sums, drawn, penalty, quantiser, costs,
                                  m_settings.kinds, m_pruneWorkspace);
        ZtlStatistics statistics;
        run.file = EncodeZtl(pruned.tree, statistics);
        // The header and the coder's four closing bytes come on top of the payload's bits.
        run.believedBits = pruned.bits + 8.0 * (kZtlOptimisedHeaderBytes + 4);
        run.error = pruned.error;
        run.tree = std::move(pruned.tree);
        costs = BitCosts(statistics);
        m_statistics = std::move(statistics);
        m_drawn = DrawLeaves(run.tree);
    }
    run.result = m_drawn;
    return run;
}

OptimisedRun Optimiser::RunForRate(double bitsPerPixel, double tolerance) {
    // The file's rate falls as the penalty rises; bisect log(penalty).
    double low = std::log(1e-4);
    double high = std::log(1e8);
    OptimisedRun best;
    double bestMiss = INFINITY;
    for (int step = 0; step < 40; ++step) {
        const double middle = 0.5 * (low + high);
        OptimisedRun run = Run(std::exp(middle));
        const double rate = FileBitsPerPixel(run);
        const double miss = std::abs(rate / bitsPerPixel - 1.0);
        const bool tooMany = rate > bitsPerPixel;
        if (miss < bestMiss) {
            bestMiss = miss;
            best = std::move(run);
        }
        if (bestMiss <= tolerance || high - low < 1e-3)
            break;
        (tooMany ? low : high) = middle;
    }
    return best;
}

double FileBitsPerPixel(const OptimisedRun& run) {
    return ZtlFileBitRate(run.file.size(), run.tree.width, run.tree.height);
}

}  // namespace zantrel
