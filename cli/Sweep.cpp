#include "cli/Sweep.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

#include "cli/ErrorReport.h"
#include "cli/InputPicture.h"
#include "cli/StartedThreads.h"
#include "cli/SweepBjontegaard.h"
#include "cli/SweepChart.h"
#include "cli/SweepPeers.h"
#include "cli/SweepProgress.h"
#include "import/ImageImport.h"
#include "import/MessageTranslation.h"
#include "measure/FigureText.h"
#include "measure/Psnr.h"
#include "measure/RunFigures.h"
#include "optimise/Optimiser.h"
#include "picture/GrayConversion.h"
#include "picture/MessageText.h"
#include "platform/FileWriter.h"
#include "platform/StatusProgress.h"

namespace zantrel {

namespace {

// The figures a Zantrel row shares with the single run.
void TakeFigures(const RunFigures& figures, SweepRow& row) {
    row.blocks = figures.blocks;
    row.cutModels = figures.cutModels;
    row.groups = figures.groups;
    row.psnr = figures.psnr;
    row.ssim = figures.ssim;
    row.bitrate = figures.bitrate;
    row.fileBitrate = figures.fileBitrate;
}

using Clock = std::chrono::steady_clock;

// WebP's own limit on a side.
constexpr int kMaxWebpPictureSide = 16383;

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

}  // namespace

std::vector<SweepRow> MeasureSweep(const GrayPicture& gray, const std::vector<double>& penalties,
                                   std::int32_t minBlockSize, int threads,
                                   TerminalShell& terminal) {
    SweepProgress status(terminal);
    StatusProgress progress(&status);
    PipelineWorkspace workspace;
    PrepareWorkspace(gray, workspace);
    std::vector<SweepRow> rows;
    const int count = static_cast<int>(penalties.size());
    for (int k = 0; k < count; ++k) {
        SweepRow row;
        row.setting = penalties[k];
        status.StartRun(k, count, FormatSweepPenalty(row.setting));

        // The same stages, in the same order, as a single run of the zantrel stage; the
        // PSNR of the block picture is measured between them.
        const Clock::time_point quadtreeStart = Clock::now();
        const QuadtreeStage quadtree = RunQuadtreeStage(workspace, row.setting, minBlockSize);
        const Clock::duration quadtreeTime = Clock::now() - quadtreeStart;
        row.quadtreePsnr = Psnr(gray, quadtree.blockPicture);

        const Clock::time_point searchStart = Clock::now();
        const CutLineStage zantrel = *RunCutLineStage(gray, quadtree, workspace, threads, progress);
        row.milliseconds = Milliseconds(quadtreeTime + (Clock::now() - searchStart));
        const RunFigures figures = MeasureRun(gray, quadtree, zantrel);
        TakeFigures(figures, row);
        rows.push_back(row);
    }
    return rows;
}

std::optional<OptimisedSweep> MeasureOptimisedSweep(const GrayPicture& gray,
                                                    const std::vector<double>& penalties,
                                                    const std::vector<double>& rates,
                                                    std::int32_t minBlockSize, int threads,
                                                    TerminalShell& terminal) {
    SweepProgress status(terminal);
    StatusProgress progress(&status);
    status.StartStage("optimised search");
    const SummedTables sums(gray);
    OptimiseSettings settings;
    settings.search.minBlockSize = minBlockSize;
    settings.search.threads = threads;
    OptimisedSweep sweep;
    const Clock::time_point searchStart = Clock::now();
    std::optional<Optimiser> optimiser = Optimiser::Search(gray, sums, settings, progress);
    if (!optimiser)
        return std::nullopt;
    sweep.searchMilliseconds = Milliseconds(Clock::now() - searchStart);

    const bool byRate = !rates.empty();
    const std::vector<double>& points = byRate ? rates : penalties;
    const int count = static_cast<int>(points.size());
    for (int k = 0; k < count; ++k) {
        status.StartStep(kOptimisedCodec, k, count, FormatSweepPenalty(points[k]));
        // Every run starts afresh, so each row is independent of the points before it.
        const Clock::time_point start = Clock::now();
        const OptimisedRun run =
            byRate ? optimiser->RunForRate(points[k]) : optimiser->Run(points[k]);
        SweepRow row;
        row.milliseconds = Milliseconds(Clock::now() - start);
        const RunFigures figures = MeasureOptimisedRun(gray, run);
        row.codec = kOptimisedCodec;
        row.setting = run.penalty;
        row.targetRate = byRate ? points[k] : 0.0;
        TakeFigures(figures, row);
        row.ramps = figures.ramps;
        sweep.rows.push_back(row);
    }
    return sweep;
}

namespace {

int MeasureAndWrite(const SweepOptions& options, TerminalShell& terminal, InputPicture& input);

// Whether the sweep compares curves, and so writes their figures beside --csv.
bool WritesComparisons(const SweepOptions& options) {
    return !options.peers.empty() || options.optimise;
}

// A line on stderr in the messages' language.
void Say(const char* pattern, const std::vector<std::string>& arguments) {
    std::fprintf(stderr, "%s\n", TranslateMessage(pattern, arguments).c_str());
}

}  // namespace

int RunSweep(const SweepOptions& options, TerminalShell& terminal) {
    // Every file the sweep writes, the one it derives from --csv included, is checked against
    // the input and the others before any work.
    const std::string inputPath = InputPath(options.input);
    const std::string comparisonCsv = !options.csv.empty() && WritesComparisons(options)
                                          ? ComparisonCsvPath(options.csv)
                                          : std::string();
    if (!OutputsDiffer({{"INPUT", &inputPath},
                        {"--csv", &options.csv},
                        {"--plot", &options.plot},
                        {"the Bjontegaard figures' CSV beside --csv", &comparisonCsv}}))
        return 2;
    InputPicture input;
    if (const int exitCode =
            ReadInputPicture(options.input, options.import, terminal, input, options.maxPixels);
        exitCode != 0)
        return exitCode;
    const int width = input.color.width;
    const int height = input.color.height;
    const std::uint64_t needed =
        options.optimise ? std::max(PipelineBytesFor(width, height),
                                    OptimisedBytesFor(width, height, options.minBlockSize))
                         : PipelineBytesFor(width, height);
    if (const std::uint64_t available = AvailableMemoryBytes();
        available != 0 && needed > available) {
        return RefuseTooLargeToRun(input.path, width, height, needed);
    }
    try {
        return MeasureAndWrite(options, terminal, input);
    } catch (const std::bad_alloc&) {
        return ReportOutOfMemory(width, height, needed);
    }
}

namespace {

int MeasureAndWrite(const SweepOptions& options, TerminalShell& terminal, InputPicture& input) {
    const GrayPicture gray = ConvertToGray(input.color);
    input.color = {};
    // Asked once, before the first search: the sweep goes on with the threads that can start.
    const int threads = ThreadsThatStart(options.threads);
    std::vector<SweepRow> rows =
        MeasureSweep(gray, options.penalties, options.minBlockSize, threads, terminal);
    std::optional<OptimisedSweep> optimised;
    if (options.optimise) {
        optimised = MeasureOptimisedSweep(gray, options.optimisedPenalties, options.rates,
                                          options.minBlockSize, threads, terminal);
        if (!optimised)
            return 1;
        rows.insert(rows.end(), optimised->rows.begin(), optimised->rows.end());
    }
    if (!options.peers.empty()) {
        SweepProgress status(terminal);
        const std::vector<SweepRow> peerRows = MeasurePeers(gray, options.peers, rows, status);
        rows.insert(rows.end(), peerRows.begin(), peerRows.end());
    }

    // With peers, each Zantrel curve against each of them, beside the rows; the optimised
    // curve against the exact mode's too.
    const std::vector<SweepComparison> comparisons =
        WritesComparisons(options) ? CompareWithPeers(rows) : std::vector<SweepComparison>();

    // All or nothing: a failed output leaves every target as it was.
    FileSet files;
    if (!options.csv.empty())
        files.Stage(options.csv, SweepCsvText(rows));
    if (!options.csv.empty() && !comparisons.empty())
        files.Stage(ComparisonCsvPath(options.csv), ComparisonCsvText(comparisons));
    if (!options.plot.empty()) {
        const std::string pictureName = std::filesystem::path(input.path).filename().string();
        files.Stage(options.plot, SweepChartSvg(rows, pictureName, options.minBlockSize));
    }
    if (const std::optional<FileError> error = files.Commit())
        return ReportWriteError(terminal, *error);
    terminal.FinishProgress();
    if (optimised) {
        char milliseconds[32];
        std::snprintf(milliseconds, sizeof milliseconds, "%.1f", optimised->searchMilliseconds);
        Say(ZANTREL_MESSAGE(
                "Zantrel",
                "%1：所有分块的搜索用了 %2 毫秒，%3 个点共用一次（不计入任何一行的毫秒数）"),
            {std::string(kOptimisedCodec), milliseconds, std::to_string(optimised->rows.size())});
    }
    // A peer that could not code the picture has its row, without figures; say why here.
    for (const SweepRow& row : rows) {
        if (!row.coded && row.codec == "webp" &&
            std::max(gray.width, gray.height) > kMaxWebpPictureSide)
            Say(ZANTREL_MESSAGE("Zantrel",
                                "webp 无法以设置 %1 编码这幅图像：WebP 不接受长于 %2 像素的边"),
                {FormatSweepPenalty(row.setting), std::to_string(kMaxWebpPictureSide)});
        else if (!row.coded)
            Say(ZANTREL_MESSAGE("Zantrel", "%1 无法以设置 %2 编码这幅图像"),
                {row.codec, FormatSweepPenalty(row.setting)});
        // A rate the penalties cannot reach keeps its nearest row.
        if (row.targetRate > 0 && !IsRateTargetMet(row.targetRate, row.fileBitrate))
            Say(ZANTREL_MESSAGE("Zantrel", "%1 达不到每像素 %2 比特：最接近的是 %3"),
                {row.codec, FormatSweepPenalty(row.targetRate), FormatFigure(row.fileBitrate)});
    }
    // The table says, below its rows, why WebP's rows have no figures.
    std::string table = SweepTableText(rows);
    if (std::max(gray.width, gray.height) > kMaxWebpPictureSide &&
        std::ranges::any_of(rows, [](const SweepRow& row) { return row.codec == "webp"; }))
        table +=
            TranslateMessage(
                ZANTREL_MESSAGE("Zantrel", "注：webp 的各行没有数值：WebP 不接受长于 %1 像素的边"),
                {std::to_string(kMaxWebpPictureSide)}) +
            "\n";
    std::string text;
    if (comparisons.empty()) {
        text = options.json ? SweepJsonText(rows) : table;
    } else if (options.json) {
        // The rows and the comparisons as the two members of one object.
        std::string array = SweepJsonText(rows);
        array.pop_back();
        text = "{\"rows\": " + array + ",\n\"bjontegaard\": " + ComparisonJsonText(comparisons) +
               "}\n";
    } else {
        text = table + ComparisonTableText(comparisons);
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

}  // namespace

}  // namespace zantrel
