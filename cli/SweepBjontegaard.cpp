#include "cli/SweepBjontegaard.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace zantrel {

namespace {

// "%.6f" for dB, "%.2f" for percent.
std::string Number(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

struct Texts {
    std::string psnr;  // empty where the curves share no range
    std::string rate;
};

Texts TextsOf(const SweepComparison& c) {
    if (!c.figures)
        return {};
    return {Number(c.figures->psnrDifference, 6), Number(100 * c.figures->rateDifference, 2)};
}

}  // namespace

std::vector<SweepComparison> CompareWithPeers(const std::vector<SweepRow>& rows) {
    std::vector<RatePoint> file, estimate, optimised;
    std::vector<std::string> peers;
    for (const SweepRow& row : rows) {
        if (row.IsZantrel()) {
            file.push_back({row.fileBitrate, row.psnr});
            estimate.push_back({row.bitrate, row.psnr});
        } else if (row.IsOptimised()) {
            optimised.push_back({row.fileBitrate, row.psnr});
        } else if (std::ranges::find(peers, row.codec) == peers.end()) {
            peers.push_back(row.codec);
        }
    }
    std::vector<SweepComparison> comparisons;
    for (const std::string& peer : peers) {
        std::vector<RatePoint> anchor;
        for (const SweepRow& row : rows) {
            if (row.codec == peer)
                anchor.push_back({row.fileBitrate, row.psnr});
        }
        comparisons.push_back({"file", peer, CompareCurves(file, anchor)});
        comparisons.push_back({"estimate", peer, CompareCurves(estimate, anchor)});
        if (!optimised.empty())
            comparisons.push_back({"optimised", peer, CompareCurves(optimised, anchor)});
    }
    if (!optimised.empty()) {
        comparisons.push_back(
            {"optimised", std::string(kZantrelCodec), CompareCurves(optimised, file)});
    }
    return comparisons;
}

std::string ComparisonTableText(const std::vector<SweepComparison>& comparisons) {
    std::string text =
        "\nBjontegaard figures, Zantrel against each peer (monotone piecewise-cubic "
        "interpolation over log10 rate;\npositive bdPsnr and negative bdRate favour Zantrel):\n";
    // Eight characters a name column, wider only for a longer name ("optimised").
    int curveWidth = 8, peerWidth = 8;
    for (const SweepComparison& c : comparisons) {
        curveWidth = std::max(curveWidth, static_cast<int>(c.zantrelCurve.size()));
        peerWidth = std::max(peerWidth, static_cast<int>(c.peer.size()));
    }
    char line[160];
    std::snprintf(line, sizeof line, "%*s  %*s  %10s  %8s\n", curveWidth, "zantrel", peerWidth,
                  "peer", "bdPsnr", "bdRate");
    text.append(line);
    for (const SweepComparison& c : comparisons) {
        const Texts t = TextsOf(c);
        if (t.psnr.empty())
            std::snprintf(line, sizeof line, "%*s  %*s  no common range\n", curveWidth,
                          c.zantrelCurve.c_str(), peerWidth, c.peer.c_str());
        else
            std::snprintf(line, sizeof line, "%*s  %*s  %10s  %7s%%\n", curveWidth,
                          c.zantrelCurve.c_str(), peerWidth, c.peer.c_str(), t.psnr.c_str(),
                          t.rate.c_str());
        text.append(line);
    }
    return text;
}

std::string ComparisonCsvText(const std::vector<SweepComparison>& comparisons) {
    std::string text = "zantrel,peer,bdPsnr,bdRatePercent\n";
    for (const SweepComparison& c : comparisons) {
        const Texts t = TextsOf(c);
        text.append(c.zantrelCurve + "," + c.peer + "," + t.psnr + "," + t.rate + "\n");
    }
    return text;
}

std::string ComparisonJsonText(const std::vector<SweepComparison>& comparisons) {
    std::string text = "[\n";
    for (std::size_t i = 0; i < comparisons.size(); ++i) {
        const SweepComparison& c = comparisons[i];
        const Texts t = TextsOf(c);
        text.append("  {\"zantrel\": \"" + c.zantrelCurve + "\", \"peer\": \"" + c.peer +
                    "\", \"bdPsnr\": " + (t.psnr.empty() ? "null" : t.psnr) +
                    ", \"bdRatePercent\": " + (t.rate.empty() ? "null" : t.rate) + "}");
        text.append(i + 1 < comparisons.size() ? ",\n" : "\n");
    }
    text.append("]");
    return text;
}

std::string ComparisonCsvPath(const std::string& sweepCsv) {
    std::filesystem::path path(sweepCsv);
    const std::string extension = path.extension().string();
    path.replace_filename(path.stem().string() + "-bd" + (extension.empty() ? ".csv" : extension));
    return path.string();
}

}  // namespace zantrel
