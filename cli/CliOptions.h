#pragma once
// The command line of zantrel-cli.

#include <optional>
#include <string>

#include "quadtree/DecompositionParameters.h"

enum class CliStage { Gray, Quadtree, Zantrel };

struct CliOptions {
    std::string input;  // empty: the bundled sample
    DecompositionParameters parameters;
    CliStage stage = CliStage::Zantrel;
    std::string output;    // g_resultPixels
    std::string grid;      // g_gridPixels
    std::string grayGrid;  // g_grayGridPixels after the gray grid stage
    std::string lines;     // g_gridPixels with the cut lines in red
    int threads = 0;       // 0: every core
    bool json = false;
};

// Parses the arguments. On --help prints the usage and returns exit code 0 in `exitCode`;
// on a bad argument prints the reason and a usage line to stderr and returns 2.
std::optional<CliOptions> ParseCliOptions(int argc, char** argv, int& exitCode);
