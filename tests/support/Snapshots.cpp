#include "support/Snapshots.h"

#include "picture/PictureStore.h"
#include "quadtree/BlockLists.h"
#include "support/RecordingShell.h"

ZantrelOutcome RunZantrel(const std::vector<QuadBlock>& startBlocks,
                          const std::vector<std::uint8_t>& startResult,
                          const std::function<void()>& searchAndReconstruct,
                          const std::function<std::string()>& bitRate) {
    g_blocks = startBlocks;
    std::copy(startResult.begin(), startResult.end(), g_resultPixels);
    g_cutModels.assign(3, CutModel{});  // left over from an earlier run: must be replaced
    ZantrelOutcome outcome;
    {
        CRecordingShell shell;
        searchAndReconstruct();
        outcome.paneTexts = shell.paneTexts;
        outcome.progress = shell.progress;
    }
    outcome.blocks = g_blocks;
    outcome.cutModels = g_cutModels;
    outcome.groupCount = g_groupCount;
    outcome.result.assign(g_resultPixels, g_resultPixels + kPixelCount);
    outcome.bitRate = bitRate();
    return outcome;
}

bool SameModel(const CutModel& a, const CutModel& b) {
    return a.row == b.row && a.col == b.col && a.size == b.size && a.p1Row == b.p1Row &&
           a.p1Col == b.p1Col && a.p2Row == b.p2Row && a.p2Col == b.p2Col && a.meanA == b.meanA &&
           a.meanB == b.meanB && a.cost == b.cost && a.chosen == b.chosen &&
           a.blockIndex == b.blockIndex;
}

namespace {

std::string Describe(const CutModel& m) {
    return testing::PrintToString(std::vector<double>{
        double(m.row), double(m.col), double(m.size), m.p1Row, m.p1Col, m.p2Row, m.p2Col,
        double(m.meanA), double(m.meanB), m.cost, double(m.chosen), double(m.blockIndex)});
}

}  // namespace

testing::AssertionResult SameOutcome(const ZantrelOutcome& expected, const ZantrelOutcome& actual) {
    if (expected.cutModels.size() != actual.cutModels.size()) {
        return testing::AssertionFailure()
               << "cut models: " << expected.cutModels.size() << " vs " << actual.cutModels.size();
    }
    for (std::size_t i = 0; i < expected.cutModels.size(); ++i) {
        if (!SameModel(expected.cutModels[i], actual.cutModels[i])) {
            return testing::AssertionFailure()
                   << "cut model " << i << ": " << Describe(expected.cutModels[i]) << " vs "
                   << Describe(actual.cutModels[i]);
        }
    }
    if (expected.blocks.size() != actual.blocks.size())
        return testing::AssertionFailure() << "block count";
    for (std::size_t i = 0; i < expected.blocks.size(); ++i) {
        const QuadBlock& a = expected.blocks[i];
        const QuadBlock& b = actual.blocks[i];
        const bool same = a.row == b.row && a.col == b.col && a.size == b.size &&
                          a.mean == b.mean && a.cost == b.cost && a.modelKind == b.modelKind &&
                          (a.modelKind != 1 || a.cutIndex == b.cutIndex);
        if (!same)
            return testing::AssertionFailure() << "block " << i << " differs";
    }
    if (expected.groupCount != actual.groupCount)
        return testing::AssertionFailure() << "group count";
    if (expected.result != actual.result)
        return testing::AssertionFailure() << "result pixels differ";
    if (expected.paneTexts != actual.paneTexts) {
        return testing::AssertionFailure()
               << "status texts: " << testing::PrintToString(expected.paneTexts) << " vs "
               << testing::PrintToString(actual.paneTexts);
    }
    if (expected.progress != actual.progress)
        return testing::AssertionFailure() << "progress positions differ";
    if (expected.bitRate != actual.bitRate) {
        return testing::AssertionFailure()
               << "bit rate " << expected.bitRate << " vs " << actual.bitRate;
    }
    return testing::AssertionSuccess();
}
