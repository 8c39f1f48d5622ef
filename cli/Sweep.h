#pragma once

#include <optional>
#include <vector>

#include "cli/SweepOptions.h"
#include "cli/SweepTable.h"
#include "cli/TerminalShell.h"
#include "picture/Picture.h"

namespace zantrel {

// Runs the single run's stages once per penalty, in the given order, on `gray`, and measures
// each run. Progress goes to the terminal, each stage's text preceded by its run.
std::vector<SweepRow> MeasureSweep(const GrayPicture& gray, const std::vector<double>& penalties,
                                   std::int32_t minBlockSize, int threads, TerminalShell& terminal);

// The optimised mode's curve: one search of every block, then one row per penalty or, where
// `rates` is not empty, per file rate aimed at. Each point starts from the search alone, so its
// row is the single run's (`zantrel-cli --optimise --penalty P` or `--rate BPP`) whatever the
// order. Nothing when the search was stopped.
struct OptimisedSweep {
    std::vector<SweepRow> rows;
    double searchMilliseconds = 0.0;  // shared by every row, so counted in none of them
};
std::optional<OptimisedSweep> MeasureOptimisedSweep(const GrayPicture& gray,
                                                    const std::vector<double>& penalties,
                                                    const std::vector<double>& rates,
                                                    std::int32_t minBlockSize, int threads,
                                                    TerminalShell& terminal);

// `zantrel-cli sweep`: reads the picture, measures every penalty and then the peer codecs,
// writes the CSV and the chart, then prints the table or the JSON. Returns the exit code: 0
// success, 1 a file error, 2 a refused picture. Nothing is printed when a file cannot be written.
int RunSweep(const SweepOptions& options, TerminalShell& terminal);

}  // namespace zantrel
