#include "cli/SweepOptions.h"

#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "cli/OptionValues.h"
#include "cli/ParseArguments.h"
#include "cli/ParserWords.h"
#include "import/MessageTranslation.h"
#include "quadtree/DecompositionParameters.h"

namespace zantrel {

namespace {

constexpr const char* kColumns =
    "Columns: codec (zantrel, or a peer codec); penalty (Zantrel's rows); setting (a peer's\n"
    "quality, or its target bits per pixel); blocks (quadtree blocks); cutModels (blocks that\n"
    "took a cut line); groups (block sizes searched); quadtreePsnr (dB, the blocks filled with\n"
    "their means); psnr (dB, the reconstruction); bitrate (bits per pixel, estimated);\n"
    "fileBitrate (bits per pixel of the whole coded file); milliseconds (wall clock of that\n"
    "penalty's quadtree split, block fill, cut-line search and reconstruction; the loading, gray\n"
    "conversion, PSNR and bit rate are not counted). A peer's row has codec, setting, psnr and\n"
    "fileBitrate only; the table shows a column a row does not have as -.\n"
    "\n"
    "With --optimise, the optimised mode's rows (codec zantrel-optimised) follow the exact\n"
    "mode's: penalty (the price of one bit, as found for --rates), setting (the rate aimed at,\n"
    "--rates only), bitrate (the file's bits as the pruning priced them), milliseconds (that\n"
    "point's own pruning, quantising, encoding and drawing; for --rates the whole bisection), and\n"
    "a last column, ramps (leaves with a ramp). The search of every block runs once and is\n"
    "shared by all the points: its time goes to stderr, not to any row. JPEG 2000 aims at the\n"
    "optimised files' rates too, and the Bjontegaard figures (printed even without --peers)\n"
    "include the optimised file's curve against each peer and against the exact mode's file.\n"
    "\n"
    "--lang en|zh: messages in English or Chinese (default Chinese, or English where LANGUAGE\n"
    "starts with en).\n";

}  // namespace

bool ParsePenaltyList(std::string_view list, std::string_view minBlockSizeText,
                      std::vector<double>& penalties, std::int32_t& minBlockSize,
                      std::string& message) {
    penalties.clear();
    std::vector<double> read;
    DecompositionParameters parameters;
    // An empty list is one empty item, which the dialog refuses as not a number.
    for (const std::string_view item : ListItems(list)) {
        if (const auto refusal = ParseDecompositionParameters(item, minBlockSizeText, parameters)) {
            message = TranslateMessage(refusal->pattern, refusal->arguments);
            return false;
        }
        read.push_back(parameters.penalty);
    }
    penalties = std::move(read);
    minBlockSize = parameters.minBlockSize;
    return true;
}

std::optional<SweepOptions> ParseSweepOptions(int argc, char** argv, int& exitCode) {
    SweepOptions options;
    std::string penaltyList(kDefaultPenalties);
    std::string minBlockText = FormatMinBlockSize(options.minBlockSize);

    CLI::App app{
        "Runs the whole Zantrel pipeline once per penalty factor on one picture and "
        "reports the figures of every run: the rate-distortion curve.",
        "zantrel-cli sweep"};
    app.footer(kColumns);
    app.add_option("input", options.input,
                   "INPUT.bmp, a 24-bit 512 x 512 BMP (default: the bundled sample picture)")
        ->type_name("INPUT");
    app.add_flag("--import", options.import,
                 "read INPUT in any format the import reads (PNG, JPEG, TIFF, PGM/PPM, WebP, GIF, "
                 "BMP of every depth), of any size up to 16384 x 16384");
    app.add_option("--penalties", penaltyList,
                   "comma-separated penalty factors, each 0 .. 100000000, run in this order "
                   "(default 1,2,5,10,20,50,100,200,500,1000)")
        ->type_name("P1,P2,...");
    app.add_option("--min-block", minBlockText, "minimum block size, 1 .. 128 (default 4)")
        ->type_name("N");
    app.add_option("--csv", options.csv, "also write the table as CSV to FILE.csv")
        ->type_name("FILE.csv");
    app.add_flag("--json", options.json, "print a JSON array of objects instead of the table");
    app.add_option("--plot", options.plot,
                   "write the chart of PSNR against bit rate as SVG to FILE.svg")
        ->type_name("FILE.svg");
    std::string peerList;
    app.add_option("--peers", peerList,
                   "after Zantrel, code the same gray picture with standard codecs: JPEG and "
                   "WebP over a quality ladder, JPEG 2000 at the rate of each Zantrel file, "
                   "AVIF (libaom, monochrome, speed 2) over quantizers 63 ... 12, JPEG XL "
                   "(effort 3) over distances 15 ... 0.5; WebP cannot code a picture wider or "
                   "taller than 16383: its rows stay without figures and stderr says so")
        ->type_name("jpeg,jpeg2000,webp,avif,jxl");
    app.add_flag("--optimise", options.optimise,
                 "after the exact mode's rows, the optimised mode's curve (codec "
                 "zantrel-optimised): its search runs once, each point reuses it");
    std::string optimisedPenaltyList(kDefaultOptimisedPenalties);
    app.add_option("--optimised-penalties", optimisedPenaltyList,
                   "with --optimise: its penalties, the price of one bit, 0 .. 100000000, run in "
                   "this order (default 0.1,0.2,0.5,1,2,5,10,20,50,100,200)")
        ->type_name("P1,P2,...");
    std::string rateList;
    app.add_option("--rates", rateList,
                   "with --optimise: instead of its penalties, the file's bits per pixel to aim "
                   "at, each 0.001 .. 10 and met within 2 % (one that cannot be reached keeps its "
                   "nearest row and is named on stderr)")
        ->type_name("BPP1,BPP2,...");
    std::string maxPixels = std::to_string(options.maxPixels);
    app.add_option("--max-pixels", maxPixels,
                   "the most pixels a picture file may claim (default 100000000): a larger one "
                   "is refused before it is decoded unless this raises the limit")
        ->type_name("N");
    app.add_option("--threads", options.threads,
                   "threads for the cut-line search (default: all cores)")
        ->check(CLI::Range(1, 1024))
        ->type_name("N");

    if (!ParseArguments(app, argc, argv, {"input", "--csv", "--plot"}, exitCode))
        return std::nullopt;

    std::string message;
    if (!ParsePenaltyList(penaltyList, minBlockText, options.penalties, options.minBlockSize,
                          message)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        exitCode = 2;
        return std::nullopt;
    }
    if (app.count("--peers") && !ParsePeerList(peerList, options.peers, message)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        exitCode = 2;
        return std::nullopt;
    }
    // The rate targets by the rule every command shares, then the penalties they replace.
    std::optional<std::string> refusal =
        CheckRateTargetUse("--rates", app.count("--rates") > 0, options.optimise,
                           "--optimised-penalties", app.count("--optimised-penalties") > 0);
    if (!refusal && !options.optimise && app.count("--optimised-penalties"))
        refusal = "--optimised-penalties needs --optimise";
    if (!refusal)
        refusal = ReadPixelLimit("--max-pixels", maxPixels, options.maxPixels);
    if (!refusal && app.count("--rates"))
        refusal = ReadRateTargets("--rates", rateList, options.rates);
    if (refusal) {
        exitCode = RefuseArgumentsInParserWords(app, *refusal);
        return std::nullopt;
    }
    if (!options.optimise || !options.rates.empty())
        return options;
    std::int32_t minBlockSize = 0;
    if (!ParsePenaltyList(optimisedPenaltyList, minBlockText, options.optimisedPenalties,
                          minBlockSize, message)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        exitCode = 2;
        return std::nullopt;
    }
    return options;
}

}  // namespace zantrel
