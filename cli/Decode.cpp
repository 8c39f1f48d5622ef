#include "cli/Decode.h"

#include <CLI/CLI.hpp>
#include <new>

#include "cli/ErrorReport.h"
#include "cli/Figures.h"
#include "cli/InputPicture.h"
#include "cli/OptionValues.h"
#include "cli/ParseArguments.h"
#include "linesearch/CutLineOverlay.h"
#include "linesearch/LineSearch.h"
#include "platform/PictureFiles.h"

namespace zantrel {

std::optional<DecodeOptions> ParseDecodeOptions(int argc, char** argv, int& exitCode) {
    DecodeOptions options;
    CLI::App app{"Rebuilds the approximation a Zantrel file holds.", "zantrel-cli decode"};
    app.add_option("input", options.input, "the Zantrel file to read")
        ->required()
        ->type_name("FILE.ztl");
    app.add_option("-o,--output", options.output,
                   "write the approximation to PICTURE.bmp (or .png)")
        ->required()
        ->type_name("PICTURE.bmp");
    app.add_option("--grid", options.grid, "write the block grid on white to GRID.bmp")
        ->type_name("GRID.bmp");
    app.add_option("--lines", options.lines,
                   "write the grid with the cut lines in red to LINES.bmp")
        ->type_name("LINES.bmp");
    app.add_flag("--json", options.json, "print the figures as one JSON object");
    std::string maxPixels = std::to_string(options.maxPixels);
    app.add_option("--max-pixels", maxPixels,
                   "the most pixels the file may claim (default 100000000): a larger one is "
                   "refused before it is decoded unless this raises the limit")
        ->type_name("N");
    app.footer(
        "Pictures are written as BMP (a name ending in .bmp or without an extension) or PNG "
        "(.png); any other name is refused.\n"
        "--lang en|zh: messages in English or Chinese (default Chinese, or English where "
        "LANGUAGE starts with en).");
    if (!ParseArguments(app, argc, argv, {"input", "--output", "--grid", "--lines"}, exitCode))
        return std::nullopt;
    if (const auto refusal = ReadPixelLimit("--max-pixels", maxPixels, options.maxPixels)) {
        exitCode = RefuseArgumentsInParserWords(app, *refusal);
        return std::nullopt;
    }
    return options;
}

namespace {

int DecodeAndWrite(const DecodeOptions& options, TerminalShell& shell) {
    Expected<ZtlPicture, LoadError> loaded = LoadZtlFile(options.input);
    if (!loaded)
        return ReportLoadError(shell, loaded.Error());
    const ZtlPicture& picture = *loaded;
    // All or nothing: a failed output leaves every target as it was.
    const InputPicture noHeaders;
    FileSet files;
    WriteOutputPicture(files, options.output, picture.result, noHeaders);
    if (!options.grid.empty())
        WriteOutputPicture(files, options.grid, picture.grid, noHeaders);
    if (!options.lines.empty())
        WriteOutputPicture(files, options.lines, GridWithCutLines(picture.grid, picture.tree),
                           noHeaders);
    if (const std::optional<FileError> error = files.Commit())
        return ReportWriteError(shell, *error);
    shell.FinishProgress();
    PrintFigures({{"width", "width", std::to_string(picture.tree.width), false},
                  {"height", "height", std::to_string(picture.tree.height), false},
                  {"blocks", "blocks", std::to_string(picture.tree.leaves.size()), false},
                  {"cut models", "cutModels", std::to_string(CutCount(picture.tree)), false}},
                 options.json);
    return 0;
}

}  // namespace

int RunDecode(const DecodeOptions& options, TerminalShell& shell) {
    if (!PictureOutputNamesAreKnown(
            {{"-o", &options.output}, {"--grid", &options.grid}, {"--lines", &options.lines}}) ||
        !OutputsDiffer({{"input", &options.input},
                        {"-o", &options.output},
                        {"--grid", &options.grid},
                        {"--lines", &options.lines}}))
        return 2;
    if (const int exitCode = CheckInputFile(options.input, options.maxPixels); exitCode != 0)
        return exitCode;
    try {
        return DecodeAndWrite(options, shell);
    } catch (const std::bad_alloc&) {
        const std::optional<DeclaredSize> size = ReadDeclaredSize(options.input);
        const long long width = size ? size->width : 0;
        const long long height = size ? size->height : 0;
        return ReportOutOfMemory(
            width, height,
            size ? PipelineBytesFor(static_cast<int>(width), static_cast<int>(height)) : 0);
    }
}

}  // namespace zantrel
