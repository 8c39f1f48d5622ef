#pragma once
// The figures of a sweep, one row per penalty (of the exact mode, then of the optimised mode)
// and one per setting of a peer codec, and their three written forms: the aligned table, CSV and
// JSON. All three have the same columns in the same order; a row leaves the columns it does not
// have empty ("-" in the table, null in JSON). The optimised rows' own column, ramps, comes last
// and only where the sweep has such rows, so a sweep without them reads as it always did.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zantrel {

inline constexpr std::string_view kZantrelCodec = "zantrel";
inline constexpr std::string_view kOptimisedCodec = "zantrel-optimised";

struct SweepRow {
    std::string codec{kZantrelCodec};  // or a peer's name
    double setting = 0.0;     // Zantrel's penalty (either mode), a peer's quality or target rate
    double targetRate = 0.0;  // the bits per pixel an optimised row aimed at (its setting); 0: none
    std::size_t blocks = 0;
    std::size_t cutModels = 0;
    std::int32_t groups = 0;
    double quadtreePsnr = 0.0;  // dB; printed as "%f" texts, as the single run prints them
    double psnr = 0.0;
    double ssim = 0.0;
    double bitrate = 0.0;      // the estimate
    double fileBitrate = 0.0;  // of the .ztl file, every byte counted
    double milliseconds = 0.0;
    std::size_t ramps = 0;  // the optimised mode's leaves with a ramp
    bool coded = true;      // false: a peer that could not code the picture at this setting

    // Only Zantrel's rows hold blocks, cut models, groups, the quadtree's PSNR, the estimate
    // and the time.
    bool IsZantrel() const { return codec == kZantrelCodec; }
    // An optimised row holds them too, but a penalty of its own and no quadtree's PSNR.
    bool IsOptimised() const { return codec == kOptimisedCodec; }
};

// A penalty as the parameter dialog writes it ("%.15g"), or with 17 digits where 15 would
// not read back as the same number, so every row names exactly the penalty it ran with.
std::string FormatSweepPenalty(double penalty);

// Header line, then one line per row, columns right-aligned and separated by two blanks.
std::string SweepTableText(const std::vector<SweepRow>& rows);
// Header line and one line per row; no field ever needs quoting.
std::string SweepCsvText(const std::vector<SweepRow>& rows);
// An array of objects, one per row and line, with the single run's keys and types plus
// "codec" (a string), "penalty" (Zantrel's rows), "setting" (a peer's quality or target rate),
// "quadtreePsnr" (quoted like "psnr") and "milliseconds" (numbers), and beside optimised rows
// "ramps" (a number).
std::string SweepJsonText(const std::vector<SweepRow>& rows);

}  // namespace zantrel
