#include "cli/CliOptions.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "cli/InputPicture.h"
#include "cli/OptionValues.h"
#include "cli/ParseArguments.h"
#include "import/MessageTranslation.h"

namespace zantrel {

namespace {

// The options every command that runs the pipeline shares, read as texts so that the
// parameters are checked by the parameter dialog's own rules.
struct PictureOptionTexts {
    std::string penalty;
    std::string minBlock;
    std::string maxPixels;
    std::string rate;
};

void AddPictureOptions(CLI::App& app, CliOptions& options, PictureOptionTexts& texts) {
    texts.penalty = FormatPenalty(options.parameters.penalty);
    texts.minBlock = FormatMinBlockSize(options.parameters.minBlockSize);
    app.add_option("input", options.input,
                   "INPUT.bmp, a 24-bit 512 x 512 BMP (default: the bundled sample picture)")
        ->type_name("INPUT");
    app.add_flag("--import", options.import,
                 "read INPUT in any format the import reads (PNG, JPEG, TIFF, PGM/PPM, WebP, GIF, "
                 "BMP of every depth), of any size from 1 x 1 to 16384 x 16384");
    texts.maxPixels = std::to_string(options.maxPixels);
    app.add_option("--max-pixels", texts.maxPixels,
                   "the most pixels a picture file may claim (default 100000000): a larger one "
                   "is refused before it is decoded unless this raises the limit")
        ->type_name("N");
    app.add_option("--penalty", texts.penalty, "penalty factor, 0 .. 100000000 (default 1)")
        ->type_name("X");
    app.add_option("--min-block", texts.minBlock, "minimum block size, 1 .. 128 (default 4)")
        ->type_name("N");
}

void AddModeOptions(CLI::App& app, CliOptions& options, PictureOptionTexts& texts) {
    app.add_flag("--optimise", options.optimise,
                 "the optimised mode: the tree, cut lines, ramps and quantised values chosen "
                 "for the file's real size (--penalty is then the price of one bit)");
    app.add_option("--rate", texts.rate,
                   "with --optimise, instead of --penalty: the file's bits per pixel to aim at "
                   "(within 2 %), 0.001 .. 10")
        ->type_name("BPP");
}

void AddRunOptions(CLI::App& app, CliOptions& options) {
    app.add_option("--threads", options.threads,
                   "threads for the cut-line search (default: all cores)")
        ->check(CLI::Range(1, 1024))
        ->type_name("N");
    app.add_flag("--json", options.json, "print the figures as one JSON object");
}

// The parameters by the dialog's rules, then the pixel limit and the rate target by the rules
// every command shares (cli/OptionValues.h).
bool ReadParameters(const CLI::App& app, const PictureOptionTexts& texts, CliOptions& options,
                    int& exitCode) {
    if (const auto refusal =
            ParseDecompositionParameters(texts.penalty, texts.minBlock, options.parameters)) {
        std::fprintf(stderr, "%s\n",
                     TranslateMessage(refusal->pattern, refusal->arguments).c_str());
        exitCode = 2;
        return false;
    }
    std::optional<std::string> refusal =
        CheckRateTargetUse("--rate", app.count("--rate") > 0, options.optimise, "--penalty",
                           app.count("--penalty") > 0);
    if (!refusal)
        refusal = ReadPixelLimit("--max-pixels", texts.maxPixels, options.maxPixels);
    if (!refusal && app.count("--rate") > 0) {
        refusal = ReadRateTarget("--rate", texts.rate, options.rate);
        options.rateText = texts.rate;
    }
    if (refusal) {
        exitCode = RefuseArgumentsInParserWords(app, *refusal);
        return false;
    }
    return true;
}

}  // namespace

std::optional<CliOptions> ParseCliOptions(int argc, char** argv, int& exitCode) {
    CliOptions options;
    PictureOptionTexts texts;
    std::string stageText = "zantrel";

    CLI::App app{"Zantrel: approximates a picture by a quadtree of blocks and cut lines.",
                 "zantrel-cli"};
    app.footer(
        "zantrel-cli sweep --help: one run per penalty factor, as a table, CSV, JSON or chart.\n"
        "zantrel-cli encode --help, zantrel-cli decode --help: the Zantrel file (.ztl).\n"
        "--lang en|zh (with every command): messages in English or Chinese (default Chinese, "
        "or English where LANGUAGE starts with en).");
    AddPictureOptions(app, options, texts);
    app.add_option("--stage", stageText,
                   "last stage to run: gray, quadtree or zantrel (default zantrel)")
        ->check(CLI::IsMember({"gray", "quadtree", "zantrel"}))
        ->type_name("gray|quadtree|zantrel");
    app.add_option("--output", options.output,
                   "write the result picture to RESULT.bmp (or RESULT.png; a name without an "
                   "extension is BMP, any other is refused); at the gray stage the gray picture")
        ->type_name("RESULT.bmp");
    app.add_option("--grid", options.grid, "write the block grid on white to GRID.bmp")
        ->type_name("GRID.bmp");
    app.add_option("--gray-grid", options.grayGrid,
                   "write the grid over the blocks to GRAYGRID.bmp")
        ->type_name("GRAYGRID.bmp");
    app.add_option("--lines", options.lines,
                   "write the grid with the cut lines in red to LINES.bmp")
        ->type_name("LINES.bmp");
    AddModeOptions(app, options, texts);
    AddRunOptions(app, options);
    if (!ParseArguments(app, argc, argv, {"input", "--output", "--grid", "--gray-grid", "--lines"},
                        exitCode))
        return std::nullopt;

    if (!ReadParameters(app, texts, options, exitCode))
        return std::nullopt;
    options.stage = stageText == "gray"       ? CliStage::Gray
                    : stageText == "quadtree" ? CliStage::Quadtree
                                              : CliStage::Zantrel;
    const char* refusal = nullptr;
    if (options.stage == CliStage::Gray && !(options.grid.empty() && options.grayGrid.empty())) {
        refusal = "--grid and --gray-grid need the quadtree stage";
    } else if (options.stage != CliStage::Zantrel && !options.lines.empty()) {
        refusal = "--lines needs the zantrel stage";
    } else if (options.optimise && options.stage == CliStage::Quadtree) {
        refusal = "--optimise chooses the whole decomposition: it has no quadtree stage";
    }
    if (refusal) {
        exitCode = RefuseArgumentsInParserWords(app, refusal);
        return std::nullopt;
    }
    return options;
}

std::optional<CliOptions> ParseEncodeOptions(int argc, char** argv, int& exitCode) {
    CliOptions options;
    PictureOptionTexts texts;
    CLI::App app{"Runs the Zantrel pipeline on a picture and writes the result as a Zantrel file.",
                 "zantrel-cli encode"};
    AddPictureOptions(app, options, texts);
    app.add_option("-o,--output", options.ztlFile, "the Zantrel file to write")
        ->required()
        ->type_name("FILE.ztl");
    AddModeOptions(app, options, texts);
    AddRunOptions(app, options);
    if (!ParseArguments(app, argc, argv, {"input", "--output"}, exitCode) ||
        !ReadParameters(app, texts, options, exitCode))
        return std::nullopt;
    if (!HasExtension(options.ztlFile, ".ztl")) {
        exitCode =
            RefuseArgumentsInParserWords(app, "-o names the Zantrel file to write, ending in .ztl");
        return std::nullopt;
    }
    return options;
}

}  // namespace zantrel
