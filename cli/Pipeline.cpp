#include "cli/Pipeline.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "cli/ErrorReport.h"
#include "cli/Figures.h"
#include "cli/InputPicture.h"
#include "cli/StartedThreads.h"
#include "codec/ZtlFile.h"
#include "import/ImageImport.h"
#include "import/MessageTranslation.h"
#include "linesearch/CutLineOverlay.h"
#include "measure/FigureText.h"
#include "measure/Psnr.h"
#include "measure/RunFigures.h"
#include "measure/Ssim.h"
#include "optimise/Optimiser.h"
#include "picture/GrayConversion.h"
#include "picture/MessageText.h"
#include "platform/PictureFiles.h"
#include "platform/StatusProgress.h"
#include "quadtree/GridPictures.h"

namespace zantrel {

namespace {

// Refuses two outputs that name one file, or one that names the input, before any work.
bool OutputsOfRunDiffer(const CliOptions& options) {
    const std::string input = InputPath(options.input);
    return PictureOutputNamesAreKnown({{"--output", &options.output},
                                       {"--grid", &options.grid},
                                       {"--gray-grid", &options.grayGrid},
                                       {"--lines", &options.lines}}) &&
           OutputsDiffer({{"INPUT", &input},
                          {"-o", &options.ztlFile},
                          {"--output", &options.output},
                          {"--grid", &options.grid},
                          {"--gray-grid", &options.grayGrid},
                          {"--lines", &options.lines}});
}

// The figures in the exact mode's order, the optimised mode's own after them.
std::vector<Figure> RunFigureList(const RunFigures& f, const CliOptions& options) {
    std::vector<Figure> figures = {{"blocks", "blocks", std::to_string(f.blocks), false},
                                   {"cut models", "cutModels", std::to_string(f.cutModels), false},
                                   {"groups", "groups", std::to_string(f.groups), false},
                                   {"psnr", "psnr", FormatFigure(f.psnr), true},
                                   {"bitrate", "bitrate", FormatFigure(f.bitrate), true}};
    if (!options.ztlFile.empty())
        figures.push_back({"file bytes", "fileBytes", std::to_string(f.fileBytes), false});
    figures.push_back({"file bitrate", "fileBitrate", FormatFigure(f.fileBitrate), true});
    // Last, so that the lines and keys before it stay where scripts read them.
    figures.push_back({"ssim", "ssim", FormatFigure(f.ssim), true});
    if (options.optimise) {
        figures.push_back({"ramps", "ramps", std::to_string(f.ramps), false});
        figures.push_back({"penalty", "penalty", FormatPenalty(f.penalty), true});
    }
    return figures;
}

int RunOptimisedPipeline(const CliOptions& options, TerminalShell& shell, const InputPicture& input,
                         const GrayPicture& gray) {
    // The optimised mode needs more than the import judged the picture by.
    const std::uint64_t needed =
        OptimisedBytesFor(gray.width, gray.height, options.parameters.minBlockSize);
    if (const std::uint64_t available = AvailableMemoryBytes();
        available != 0 && needed > available) {
        return RefuseTooLargeToRun(input.path, gray.width, gray.height, needed);
    }
    // Asked once, before the search: the run goes on with the threads that can start.
    const int threads = ThreadsThatStart(options.threads);
    SummedTables sums(gray);
    OptimiseSettings settings;
    settings.search.minBlockSize = options.parameters.minBlockSize;
    settings.search.threads = threads;
    StatusProgress progress(shell.StatusBar());
    std::optional<Optimiser> optimiser = Optimiser::Search(gray, sums, settings, progress);
    if (!optimiser)
        return 1;
    const OptimisedRun run = options.rate > 0 ? optimiser->RunForRate(options.rate)
                                              : optimiser->Run(options.parameters.penalty);
    const RunFigures f = MeasureOptimisedRun(gray, run);
    const GrayPicture grid = DrawGrid(run.tree);
    FileSet files;
    if (!options.ztlFile.empty())
        files.Stage(options.ztlFile, run.file);
    if (!options.output.empty())
        WriteOutputPicture(files, options.output, run.result, input);
    if (!options.grid.empty())
        WriteOutputPicture(files, options.grid, grid, input);
    if (!options.grayGrid.empty())
        WriteOutputPicture(files, options.grayGrid, MakeGrayGrid(grid, run.result), input);
    if (!options.lines.empty())
        WriteOutputPicture(files, options.lines, GridWithCutLines(grid, run.tree), input);
    if (const std::optional<FileError> error = files.Commit())
        return ReportWriteError(shell, *error);
    shell.FinishProgress();
    if (options.rate > 0 && !IsRateTargetMet(options.rate, f.fileBitrate)) {
        std::fprintf(
            stderr, "%s\n",
            TranslateMessage(ZANTREL_MESSAGE("Zantrel", "无法达到 %1 比特/像素：最接近的是 %2。"),
                             {options.rateText, FormatFigure(f.fileBitrate)})
                .c_str());
    }
    PrintFigures(RunFigureList(f, options), options.json);
    return 0;
}

int RunExactOrOptimised(const CliOptions& options, TerminalShell& shell, InputPicture& input);

}  // namespace

int RunPipeline(const CliOptions& options, TerminalShell& shell) {
    if (!OutputsOfRunDiffer(options))
        return 2;
    InputPicture input;
    if (const int exitCode =
            ReadInputPicture(options.input, options.import, shell, input, options.maxPixels);
        exitCode != 0)
        return exitCode;
    // The import judged the picture by the exact mode's worst case; a run that still finds no
    // memory ends with what it needed and writes nothing.
    const int width = input.color.width;
    const int height = input.color.height;
    try {
        return RunExactOrOptimised(options, shell, input);
    } catch (const std::bad_alloc&) {
        return ReportOutOfMemory(
            width, height,
            options.optimise ? OptimisedBytesFor(width, height, options.parameters.minBlockSize)
                             : PipelineBytesFor(width, height));
    }
}

namespace {

int RunExactOrOptimised(const CliOptions& options, TerminalShell& shell, InputPicture& input) {
    const GrayPicture gray = ConvertToGray(input.color);
    input.color = {};
    if (options.stage == CliStage::Gray) {
        if (!options.output.empty()) {
            FileSet files;
            WriteOutputPicture(files, options.output, gray, input);
            if (const std::optional<FileError> error = files.Commit())
                return ReportWriteError(shell, *error);
        }
        PrintFigures({{"width", "width", std::to_string(gray.width), false},
                      {"height", "height", std::to_string(gray.height), false}},
                     options.json);
        return 0;
    }
    if (options.optimise)
        return RunOptimisedPipeline(options, shell, input, gray);

    PipelineWorkspace workspace;
    PrepareWorkspace(gray, workspace);
    const QuadtreeStage quadtree =
        RunQuadtreeStage(workspace, options.parameters.penalty, options.parameters.minBlockSize);
    const GrayPicture& grid = quadtree.grid;
    std::vector<Figure> figures;
    std::optional<CutLineStage> zantrel;
    std::vector<std::uint8_t> ztl;
    if (options.stage == CliStage::Zantrel) {
        // Asked once, before the search: the run goes on with the threads that can start.
        const int threads = ThreadsThatStart(options.threads);
        // A long search is announced before it starts, so the user can stop it at once.
        if (const double seconds = PredictCutLineSeconds(quadtree.tree, threads); seconds > 30) {
            std::fprintf(stderr, "%s\n",
                         TranslateMessage(ZANTREL_MESSAGE("Zantrel", "预计切割线搜索约需 %1 秒。"),
                                          {std::to_string(std::lround(seconds))})
                             .c_str());
        }
        StatusProgress progress(shell.StatusBar());
        zantrel = RunCutLineStage(gray, quadtree, workspace, threads, progress);
        MeasuredRun run = MeasureRunAndFile(gray, quadtree, *zantrel);
        ztl = std::move(run.file);
        figures = RunFigureList(run.figures, options);
    } else {
        figures = {{"blocks", "blocks", std::to_string(quadtree.tree.leaves.size()), false},
                   {"psnr", "psnr", FormatFigure(Psnr(gray, quadtree.blockPicture)), true},
                   {"ssim", "ssim", FormatFigure(Ssim(gray, quadtree.blockPicture)), true}};
    }
    const GrayPicture& result = zantrel ? zantrel->result : quadtree.blockPicture;

    // All or nothing: a failed output leaves every target as it was.
    FileSet files;
    if (!options.ztlFile.empty())
        files.Stage(options.ztlFile, ztl);
    if (!options.output.empty())
        WriteOutputPicture(files, options.output, result, input);
    if (!options.grid.empty())
        WriteOutputPicture(files, options.grid, grid, input);
    if (!options.grayGrid.empty())
        WriteOutputPicture(files, options.grayGrid, MakeGrayGrid(grid, quadtree.blockPicture),
                           input);
    if (!options.lines.empty())
        WriteOutputPicture(files, options.lines,
                           GridWithCutLines(grid, zantrel->decomposition.tree), input);
    if (const std::optional<FileError> error = files.Commit())
        return ReportWriteError(shell, *error);
    shell.FinishProgress();
    PrintFigures(figures, options.json);
    return 0;
}

}  // namespace

}  // namespace zantrel
