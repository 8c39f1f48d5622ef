#include "cli/Sweep.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "cli/InputPicture.h"
#include "cli/SweepChart.h"
#include "cli/SweepProgress.h"
#include "linesearch/Threads.h"
#include "measure/FigureText.h"
#include "picture/BmpReader.h"
#include "picture/PictureStore.h"
#include "platform/FileWriter.h"
#include "quadtree/BlockLists.h"
#include "quadtree/ImageProcessor.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

}  // namespace

std::vector<SweepRow> MeasureSweep(const std::vector<double>& penalties, std::int32_t minBlockSize,
                                   CTerminalShell& terminal) {
    CSweepProgress progress(terminal);
    RegisterShell(&progress);
    std::vector<SweepRow> rows;
    const int count = static_cast<int>(penalties.size());
    for (int k = 0; k < count; ++k) {
        SweepRow row;
        row.penalty = penalties[k];
        progress.StartRun(k, count, FormatSweepPenalty(row.penalty));

        // The same stages, in the same order, as a single run of the zantrel stage; the
        // PSNR of the block picture is read between them, which changes no state.
        g_displayMode = DISPLAY_QUADTREE;
        const Clock::time_point quadtreeStart = Clock::now();
        {
            CImageProcessor workspace;
            workspace.QuadtreeDecompose(row.penalty, minBlockSize);
            workspace.FillBlockPicture();
        }
        const Clock::duration quadtreeTime = Clock::now() - quadtreeStart;
        CImageProcessor().ComputePsnr();
        row.quadtreePsnr = terminal.Figure(kPsnrCaption);
        row.blocks = g_blocks.size();

        g_displayMode = DISPLAY_ZANTREL;
        const Clock::time_point searchStart = Clock::now();
        {
            CImageProcessor workspace;
            workspace.SearchLines();
            workspace.Reconstruct();
        }
        row.milliseconds = Milliseconds(quadtreeTime + (Clock::now() - searchStart));
        row.cutModels = g_cutModels.size();
        row.groups = g_groupCount;
        CImageProcessor().ComputePsnr();
        row.psnr = terminal.Figure(kPsnrCaption);
        CImageProcessor().EstimateBitRate();
        row.bitrate = terminal.Figure(kBitRateCaption);
        rows.push_back(row);
    }
    RegisterShell(&terminal);
    return rows;
}

int RunSweep(const SweepOptions& options, CTerminalShell& terminal) {
    std::string input;
    if (const int exitCode = LoadInputPicture(options.input, input); exitCode != 0)
        return exitCode;
    SetSearchThreads(options.threads);

    const std::vector<SweepRow> rows =
        MeasureSweep(options.penalties, options.minBlockSize, terminal);

    if (!options.csv.empty() && !WriteWholeFile(options.csv, SweepCsvText(rows)))
        return 1;
    if (!options.plot.empty()) {
        const std::string pictureName = std::filesystem::path(input).filename().string();
        if (!WriteWholeFile(options.plot, SweepChartSvg(rows, pictureName, options.minBlockSize)))
            return 1;
    }
    terminal.FinishProgress();
    const std::string text = options.json ? SweepJsonText(rows) : SweepTableText(rows);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
