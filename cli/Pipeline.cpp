#include "cli/Pipeline.h"

#include <cstdio>
#include <string>
#include <vector>

#include "cli/InputPicture.h"
#include "linesearch/CutLineOverlay.h"
#include "measure/BitRate.h"
#include "measure/FigureText.h"
#include "measure/Psnr.h"
#include "measure/ZantrelRun.h"
#include "picture/GrayConversion.h"
#include "platform/StatusProgress.h"
#include "quadtree/GridPictures.h"

namespace {

struct Figure {
    const char* textKey;  // as printed on a line: "key: value"
    const char* jsonKey;
    std::string value;
    bool quoted;
};

void PrintFigures(const std::vector<Figure>& figures, bool json) {
    if (json) {
        std::printf("{");
        for (std::size_t i = 0; i < figures.size(); ++i) {
            const Figure& f = figures[i];
            std::printf("%s\"%s\": %s%s%s", i ? ", " : "", f.jsonKey, f.quoted ? "\"" : "",
                        f.value.c_str(), f.quoted ? "\"" : "");
        }
        std::printf("}\n");
        return;
    }
    for (const Figure& f : figures)
        std::printf("%s: %s\n", f.textKey, f.value.c_str());
}

// Refuses two outputs that name one file, before any work.
bool OutputsDiffer(const CliOptions& options) {
    std::vector<const char*> names;
    std::vector<std::string> paths;
    for (const auto& [name, path] : {std::pair("--output", &options.output),
                                     {"--grid", &options.grid},
                                     {"--gray-grid", &options.grayGrid},
                                     {"--lines", &options.lines}}) {
        if (!path->empty()) {
            names.push_back(name);
            paths.push_back(*path);
        }
    }
    const auto same = FindSameFiles(paths);
    if (same) {
        std::fprintf(stderr, "%s and %s name the same file %s\n", names[same->first],
                     names[same->second], paths[same->second].c_str());
    }
    return !same;
}

}  // namespace

int RunPipeline(const CliOptions& options, CTerminalShell& shell) {
    if (!OutputsDiffer(options))
        return 2;
    InputPicture input;
    if (const int exitCode = ReadInputPicture(options.input, options.import, input); exitCode != 0)
        return exitCode;
    const GrayPicture gray = ConvertToGray(input.color);
    if (options.stage == CliStage::Gray)
        return 0;

    PipelineWorkspace workspace;
    PrepareWorkspace(gray, workspace);
    const QuadtreeStage quadtree =
        RunQuadtreeStage(workspace, options.parameters.penalty, options.parameters.minBlockSize);
    const GrayPicture& grid = quadtree.tree.grid;
    std::vector<Figure> figures = {
        {"blocks", "blocks", std::to_string(quadtree.tree.blocks.size()), false}};
    const GrayPicture* result = &quadtree.blockPicture;
    std::optional<ZantrelStage> zantrel;
    if (options.stage == CliStage::Zantrel) {
        CStatusProgress progress(shell.StatusBar());
        zantrel = RunZantrelStage(gray, quadtree, workspace, options.threads, progress);
        const Decomposition& decomposition = zantrel->decomposition;
        figures.push_back(
            {"cut models", "cutModels", std::to_string(decomposition.cutModels.size()), false});
        figures.push_back({"groups", "groups", std::to_string(decomposition.groupCount), false});
        result = &zantrel->result;
    }
    figures.push_back({"psnr", "psnr", FormatFigure(Psnr(gray, *result)), true});
    if (zantrel) {
        const double rate = EstimateBitRate(zantrel->decomposition, gray.width, gray.height);
        figures.push_back({"bitrate", "bitrate", FormatFigure(rate), true});
    }

    // All or nothing: a failed output leaves every target as it was.
    CFileSet files;
    if (!options.output.empty() && !WriteOutputPicture(files, options.output, *result, input))
        return 1;
    if (!options.grid.empty() && !WriteOutputPicture(files, options.grid, grid, input))
        return 1;
    if (!options.grayGrid.empty() &&
        !WriteOutputPicture(files, options.grayGrid, MakeGrayGrid(grid, quadtree.blockPicture),
                            input)) {
        return 1;
    }
    if (!options.lines.empty() &&
        !WriteOutputPicture(files, options.lines,
                            GridWithCutLines(grid, zantrel->decomposition.cutModels), input)) {
        return 1;
    }
    if (!files.Commit())
        return 1;
    shell.FinishProgress();
    PrintFigures(figures, options.json);
    return 0;
}
