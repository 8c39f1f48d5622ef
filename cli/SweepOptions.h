#pragma once
// The command line of `zantrel-cli sweep`: one picture, a list of penalty factors, one
// minimum block size, the optimised mode's points, and the standard codecs to measure beside
// them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/SweepPeers.h"
#include "import/ImageImport.h"

namespace zantrel {

struct SweepOptions {
    std::string input;    // empty: the bundled sample
    bool import = false;  // any format and size
    std::vector<double> penalties;
    std::int32_t minBlockSize = 4;
    std::string csv;   // the table as CSV
    std::string plot;  // the SVG chart
    int threads = 0;   // 0: every core
    bool json = false;
    std::vector<PeerKind> peers;  // the codecs measured after Zantrel, in this order
    bool optimise = false;        // the optimised mode's curve after the exact mode's rows
    // Its points: a penalty ladder, or (where not empty) the file rates to aim at instead.
    std::vector<double> optimisedPenalties;
    std::vector<double> rates;
    std::uint64_t maxPixels = kDefaultMaxPixels;  // the most pixels an imported file may claim
};

// The default penalty list.
inline constexpr std::string_view kDefaultPenalties = "1,2,5,10,20,50,100,200,500,1000";
// The optimised mode's: its penalty is the price of one bit, so the same rates lie far lower
// (from about 0.5 bits per pixel down to 0.01 on the sample).
inline constexpr std::string_view kDefaultOptimisedPenalties = "0.1,0.2,0.5,1,2,5,10,20,50,100,200";

// Reads a comma-separated penalty list with the parameter dialog's rules, item by item, the
// block size text first. On a refusal returns false with the dialog's message in `message`
// and leaves `penalties` empty; an empty list or an empty item is refused as not a number.
bool ParsePenaltyList(std::string_view list, std::string_view minBlockSizeText,
                      std::vector<double>& penalties, std::int32_t& minBlockSize,
                      std::string& message);

// Parses the arguments after the word "sweep" (argv[0] is "sweep"). On --help prints the
// usage and returns exit code 0 in `exitCode`; on a bad argument prints the reason to
// stderr and returns 2. Nothing is read or written before the whole line has passed.
std::optional<SweepOptions> ParseSweepOptions(int argc, char** argv, int& exitCode);

}  // namespace zantrel
