#include "cli/CliOptions.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "cli/ParseArguments.h"

std::optional<CliOptions> ParseCliOptions(int argc, char** argv, int& exitCode) {
    CliOptions options;
    std::string penaltyText = FormatPenalty(options.parameters.penalty);
    std::string minBlockText = FormatMinBlockSize(options.parameters.minBlockSize);
    std::string stageText = "zantrel";

    CLI::App app{"Zantrel: approximates a picture by a quadtree of blocks and cut lines.",
                 "zantrel-cli"};
    app.footer(
        "zantrel-cli sweep --help: one run per penalty factor, as a table, CSV, JSON or chart.");
    app.add_option("input", options.input,
                   "INPUT.bmp, a 24-bit 512 x 512 BMP (default: the bundled sample picture)")
        ->type_name("INPUT");
    app.add_flag("--import", options.import,
                 "read INPUT in any format the import reads (PNG, JPEG, TIFF, PGM/PPM, WebP, BMP "
                 "of every depth), of any size from 1 x 1 to 16384 x 16384");
    app.add_option("--penalty", penaltyText, "penalty factor, 0 .. 100000000 (default 1)")
        ->type_name("X");
    app.add_option("--min-block", minBlockText, "minimum block size, 1 .. 128 (default 4)")
        ->type_name("N");
    app.add_option("--stage", stageText,
                   "last stage to run: gray, quadtree or zantrel (default zantrel)")
        ->check(CLI::IsMember({"gray", "quadtree", "zantrel"}))
        ->type_name("gray|quadtree|zantrel");
    app.add_option("--output", options.output,
                   "write the result picture to RESULT.bmp (or RESULT.png)")
        ->type_name("RESULT.bmp");
    app.add_option("--grid", options.grid, "write the block grid on white to GRID.bmp")
        ->type_name("GRID.bmp");
    app.add_option("--gray-grid", options.grayGrid,
                   "write the grid over the blocks to GRAYGRID.bmp")
        ->type_name("GRAYGRID.bmp");
    app.add_option("--lines", options.lines,
                   "write the grid with the cut lines in red to LINES.bmp")
        ->type_name("LINES.bmp");
    app.add_option("--threads", options.threads,
                   "threads for the cut-line search (default: all cores)")
        ->check(CLI::Range(1, 1024))
        ->type_name("N");
    app.add_flag("--json", options.json, "print the figures as one JSON object");

    if (!ParseArguments(app, argc, argv, {"input", "--output", "--grid", "--gray-grid", "--lines"},
                        exitCode))
        return std::nullopt;

    if (const auto refusal =
            ParseDecompositionParameters(penaltyText, minBlockText, options.parameters)) {
        std::fprintf(stderr, "%s\n", refusal->message.c_str());
        exitCode = 2;
        return std::nullopt;
    }
    options.stage = stageText == "gray"       ? CliStage::Gray
                    : stageText == "quadtree" ? CliStage::Quadtree
                                              : CliStage::Zantrel;
    const char* refusal = nullptr;
    if (options.stage == CliStage::Gray &&
        !(options.output.empty() && options.grid.empty() && options.grayGrid.empty())) {
        refusal = "--output, --grid and --gray-grid need the quadtree stage";
    } else if (options.stage != CliStage::Zantrel && !options.lines.empty()) {
        refusal = "--lines needs the zantrel stage";
    }
    if (refusal) {
        exitCode = RefuseArguments(app, refusal);
        return std::nullopt;
    }
    return options;
}
