#pragma once
// `zantrel-cli decode`: a Zantrel file back to its approximation, and on request its grid and
// cut-line pictures, which the file holds as well.

#include <cstdint>
#include <optional>
#include <string>

#include "cli/TerminalShell.h"
#include "import/ImageImport.h"

namespace zantrel {

struct DecodeOptions {
    std::string input;   // the .ztl file
    std::string output;  // the approximation, BMP or PNG
    std::string grid;    // the block grid on white
    std::string lines;   // the grid with the cut lines in red
    bool json = false;
    std::uint64_t maxPixels = kDefaultMaxPixels;  // the most pixels the file may claim
};

// Parses argv starting at the word "decode"; exit codes as the single run's parser.
std::optional<DecodeOptions> ParseDecodeOptions(int argc, char** argv, int& exitCode);

// Returns the exit code: 0 success, 1 a file error, 2 a refused file.
int RunDecode(const DecodeOptions& options, TerminalShell& shell);

}  // namespace zantrel
