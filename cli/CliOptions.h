#pragma once
// The command line of zantrel-cli.

#include <optional>
#include <string>

#include "import/ImageImport.h"
#include "quadtree/DecompositionParameters.h"

namespace zantrel {

enum class CliStage { Gray, Quadtree, Zantrel };

struct CliOptions {
    std::string input;    // empty: the bundled sample
    bool import = false;  // any format and size, not only a 24-bit 512 x 512 BMP
    DecompositionParameters parameters;
    CliStage stage = CliStage::Zantrel;
    std::string output;    // the result picture
    std::string grid;      // the block borders on white
    std::string grayGrid;  // the block borders over the block picture
    std::string lines;     // the block borders with the cut lines in red
    int threads = 0;       // 0: every core
    bool json = false;
    std::string ztlFile;    // `encode`: the .ztl file to write
    bool optimise = false;  // the optimised mode instead of the exact one
    double rate = 0.0;      // the optimised mode's target in bits per pixel; 0: none
    std::string rateText;   // the target as it was typed, for the messages
    std::uint64_t maxPixels = kDefaultMaxPixels;  // the most pixels an imported file may claim
};

// Parses the arguments. On --help prints the usage and returns exit code 0 in `exitCode`;
// on a bad argument prints the reason and a usage line to stderr and returns 2.
std::optional<CliOptions> ParseCliOptions(int argc, char** argv, int& exitCode);

// The same for `zantrel-cli encode` (argv starting at the word "encode"): the picture options
// of the single run and -o FILE.ztl, always to the zantrel stage.
std::optional<CliOptions> ParseEncodeOptions(int argc, char** argv, int& exitCode);

}  // namespace zantrel
