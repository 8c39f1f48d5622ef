#include "optimise/Optimiser.h"

#include <algorithm>
#include <cmath>

#include "codec/ZtlFile.h"
#include "optimise/RunProgress.h"
#include "picture/MessageText.h"
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

OptimisedRun Optimiser::Run(double penalty, Progress* progress) {
    if (penalty == kRateSearchStart && m_startRun)
        return *m_startRun;
    // Every penalty starts afresh, so that its result never depends on the runs before it.
    m_statistics.reset();
    m_drawn = GrayPicture();
    const Quantiser quantiser = QuantiserFor(penalty);
    BitCosts costs;
    OptimisedRun run;
    run.penalty = penalty;
    const int passes = std::max(1, m_settings.passes);
    if (progress)
        progress->SetText(ZANTREL_MESSAGE("Zantrel", "率失真优化：剪枝与编码"));
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
        if (progress)
            progress->SetPosition(100 * (pass + 1) / passes);
    }
    run.result = m_drawn;
    // Kept where it is small beside the search: at most a leaf per 16 pixels.
    if (penalty == kRateSearchStart &&
        16 * run.tree.leaves.size() <= static_cast<std::size_t>(m_gray->width) * m_gray->height)
        m_startRun = run;
    return run;
}

OptimisedRun Optimiser::RunForRate(double bitsPerPixel, double tolerance, Progress* progress) {
    // The file's rate falls as the penalty rises, roughly as a power of it: secant steps on
    // log rate over log penalty, kept inside the bracket the runs so far have found, and
    // halving the bracket where a step would leave it.
    double low = std::log(kLowestPenalty), high = std::log(kHighestPenalty);
    double lowRate = INFINITY, highRate = 0.0;  // log rates at the ends, once measured
    const double target = std::log(bitsPerPixel);
    double guess = std::log(kRateSearchStart);
    OptimisedRun best;
    double bestMiss = INFINITY;
    double bestLogMiss = INFINITY;
    if (progress)
        progress->SetText(ZANTREL_MESSAGE("Zantrel", "率失真优化：寻找目标比特率"));
    // The number of steps is not known before: each takes a fifth of the bar still left.
    double reached = 0.0;
    for (int step = 0; step < 40; ++step) {
        const double stepEnd = reached + 0.2 * (100.0 - reached);
        std::optional<SpanProgress> stepProgress;
        if (progress)
            stepProgress.emplace(*progress, reached, stepEnd);
        OptimisedRun run = Run(std::exp(guess), stepProgress ? &*stepProgress : nullptr);
        reached = stepEnd;
        const double rate = std::log(FileBitsPerPixel(run));
        const double miss = std::abs(std::exp(rate - target) - 1.0);
        // Where the relative miss overflows (a target far below every rate) the log miss
        // still tells the nearer run, so a run is always kept.
        const double logMiss = std::abs(rate - target);
        if (best.file.empty() || miss < bestMiss || (miss == bestMiss && logMiss < bestLogMiss)) {
            bestMiss = miss;
            bestLogMiss = logMiss;
            best = std::move(run);
        }
        if (bestMiss <= tolerance || high - low < 1e-3 || (progress && progress->Cancelled()))
            break;
        if (rate > target) {
            low = guess;
            lowRate = rate;
        } else {
            high = guess;
            highRate = rate;
        }
        double next = 0.5 * (low + high);
        if (std::isfinite(lowRate) && highRate != 0.0 && lowRate != highRate)
            next = low + (target - lowRate) * (high - low) / (highRate - lowRate);
        else if (std::isfinite(lowRate) || highRate != 0.0)
            next = guess + (rate - target) / 0.8;  // the sample's slope, about -0.8
        // Far enough inside the bracket to shrink it.
        const double margin = 0.05 * (high - low);
        guess = std::clamp(next, low + margin, high - margin);
    }
    if (progress)
        progress->SetPosition(100);
    return best;
}

RateMiss Optimiser::WhyMissed(double bitsPerPixel, const OptimisedRun& nearest) {
    const double reached = FileBitsPerPixel(nearest);
    if (IsRateTargetMet(bitsPerPixel, reached))
        return RateMiss::None;
    if (reached < bitsPerPixel)
        return FileBitsPerPixel(Run(kLowestPenalty)) < bitsPerPixel ? RateMiss::AboveFinest
                                                                    : RateMiss::Jumped;
    return FileBitsPerPixel(Run(kHighestPenalty)) > bitsPerPixel ? RateMiss::BelowCoarsest
                                                                 : RateMiss::Jumped;
}

bool IsRateTargetMet(double target, double bitsPerPixel) {
    return std::abs(bitsPerPixel / target - 1.0) <= kRateTolerance;
}

double FileBitsPerPixel(const OptimisedRun& run) {
    return ZtlFileBitRate(run.file.size(), run.tree.width, run.tree.height);
}

}  // namespace zantrel
