#include "cli/Pipeline.h"

#include <cstdio>
#include <string>
#include <vector>

#include "cli/InputPicture.h"
#include "linesearch/CutLineOverlay.h"
#include "linesearch/Threads.h"
#include "measure/FigureText.h"
#include "picture/BmpReader.h"
#include "picture/BmpWriter.h"
#include "picture/PictureStore.h"
#include "quadtree/BlockLists.h"
#include "quadtree/ImageProcessor.h"

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

}  // namespace

int RunPipeline(const CliOptions& options, CTerminalShell& shell) {
    std::string input;
    if (const int exitCode = LoadInputPicture(options.input, input); exitCode != 0)
        return exitCode;

    if (options.stage == CliStage::Gray)
        return 0;

    g_displayMode = DISPLAY_QUADTREE;
    {
        CImageProcessor workspace;
        workspace.QuadtreeDecompose(options.parameters.penalty, options.parameters.minBlockSize);
        workspace.FillBlockPicture();
    }
    std::vector<Figure> figures = {{"blocks", "blocks", std::to_string(g_blocks.size()), false}};
    if (options.stage == CliStage::Zantrel) {
        // The grid pictures are drawn by the quadtree stage; the gray grid is made before the
        // cut lines change the result picture, as the desktop pipeline allows.
        if (!options.grayGrid.empty())
            CImageProcessor().MakeGrayGrid();
        g_displayMode = DISPLAY_ZANTREL;
        SetSearchThreads(options.threads);
        {
            CImageProcessor workspace;
            workspace.SearchLines();
            workspace.Reconstruct();
        }
        figures.push_back({"cut models", "cutModels", std::to_string(g_cutModels.size()), false});
        figures.push_back({"groups", "groups", std::to_string(g_groupCount), false});
    }
    CImageProcessor().ComputePsnr();
    figures.push_back({"psnr", "psnr", shell.Figure(kPsnrCaption), true});
    if (options.stage == CliStage::Zantrel) {
        CImageProcessor().EstimateBitRate();
        figures.push_back({"bitrate", "bitrate", shell.Figure(kBitRateCaption), true});
    }

    if (!options.output.empty() && !SaveResultPicture(options.output))
        return 1;
    if (!options.grid.empty() && !SaveGrayPicture(options.grid, g_gridPixels))
        return 1;
    if (!options.grayGrid.empty()) {
        if (options.stage == CliStage::Quadtree)
            CImageProcessor().MakeGrayGrid();
        if (!SaveGrayPicture(options.grayGrid, g_grayGridPixels))
            return 1;
    }
    if (!options.lines.empty() && !SaveColorPicture(options.lines, GridWithCutLines().data())) {
        return 1;
    }
    shell.FinishProgress();
    PrintFigures(figures, options.json);
    return 0;
}
