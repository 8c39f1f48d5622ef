#pragma once
// The Bjøntegaard figures at the end of a sweep with peers: each Zantrel curve (the file's rate
// and the estimate, and the optimised mode's file where the sweep has it) against each peer's
// curve, Zantrel the test and the peer the anchor; and the optimised file against the exact
// mode's file, which is then the anchor.

#include <optional>
#include <string>
#include <vector>

#include "cli/SweepTable.h"
#include "measure/Bjontegaard.h"

namespace zantrel {

struct SweepComparison {
    std::string zantrelCurve;                   // "file", "estimate" or "optimised"
    std::string peer;                           // the peer's codec name, or "zantrel"
    std::optional<BjontegaardFigures> figures;  // nothing: the curves share no range
};

// Every Zantrel curve against every peer in `rows`, peers in the order they first appear, then
// the optimised curve against the exact mode's file.
std::vector<SweepComparison> CompareWithPeers(const std::vector<SweepRow>& rows);

// A blank line, a title naming the method, then a header and one line per comparison:
// BD-PSNR in dB and BD-rate in percent, or "no common range".
std::string ComparisonTableText(const std::vector<SweepComparison>& comparisons);
// Header and one line per comparison; empty fields where the curves share no range.
std::string ComparisonCsvText(const std::vector<SweepComparison>& comparisons);
// An array of objects with "zantrel", "peer", "bdPsnr" (dB) and "bdRatePercent" (null where
// the curves share no range).
std::string ComparisonJsonText(const std::vector<SweepComparison>& comparisons);

// Where the CSV of the comparisons goes beside the sweep's CSV: "rd.csv" → "rd-bd.csv".
std::string ComparisonCsvPath(const std::string& sweepCsv);

}  // namespace zantrel
