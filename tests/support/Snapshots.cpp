#include "support/Snapshots.h"

#include "measure/BitRate.h"
#include "measure/Psnr.h"
#include "measure/Reconstruction.h"
#include "quadtree/GridPictures.h"
#include "reference/LiteralLineSearch.h"
#include "reference/LiteralQuadtree.h"
#include "support/RecordingShell.h"

namespace zantrel {

CutLineOutcome RunEngine(const GrayPicture& gray, const Quadtree& tree, int threads) {
    const SummedTables sums(gray);
    LineSearchWorkspace workspace;
    RecordingProgress progress;
    CutLineOutcome outcome;
    auto decomposition = SearchLines(tree, gray, sums, workspace, threads, progress);
    if (!decomposition)
        return outcome;
    outcome.decomposition = std::move(*decomposition);
    auto result = Reconstruct(FillBlockPicture(tree), outcome.decomposition.cutModels, progress);
    if (!result)
        return outcome;
    outcome.result = std::move(*result);
    outcome.psnr = Psnr(gray, outcome.result);
    outcome.bitRate = EstimateBitRate(outcome.decomposition, gray.width, gray.height);
    outcome.texts = progress.texts;
    outcome.positions = progress.positions;
    return outcome;
}

CutLineOutcome RunReference(const GrayPicture& gray, const Quadtree& tree) {
    RecordingProgress progress;
    CutLineOutcome outcome;
    outcome.decomposition = LiteralSearchLines(gray, tree.penalty, tree.blocks, progress);
    outcome.result = LiteralReconstruct(LiteralBlockPicture(gray.width, gray.height, tree.blocks),
                                        outcome.decomposition.cutModels, progress);
    outcome.psnr = LiteralPsnr(gray, outcome.result);
    outcome.bitRate = LiteralBitRate(outcome.decomposition, gray.width, gray.height);
    outcome.texts = progress.texts;
    outcome.positions = progress.positions;
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

std::string Describe(const QuadBlock& b) {
    return testing::PrintToString(std::vector<double>{double(b.row), double(b.col), double(b.size),
                                                      double(b.mean), b.cost, double(b.modelKind),
                                                      double(b.cutIndex)});
}

}  // namespace

testing::AssertionResult SameBlocks(const std::vector<QuadBlock>& expected,
                                    const std::vector<QuadBlock>& actual) {
    if (expected.size() != actual.size()) {
        return testing::AssertionFailure()
               << "block count " << expected.size() << " vs " << actual.size();
    }
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const QuadBlock& a = expected[i];
        const QuadBlock& b = actual[i];
        const bool same = a.row == b.row && a.col == b.col && a.size == b.size &&
                          a.mean == b.mean && a.cost == b.cost && a.modelKind == b.modelKind &&
                          (a.modelKind != 1 || a.cutIndex == b.cutIndex);
        if (!same) {
            return testing::AssertionFailure()
                   << "block " << i << ": " << Describe(a) << " vs " << Describe(b);
        }
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult SamePicture(const GrayPicture& expected, const GrayPicture& actual) {
    if (expected.width != actual.width || expected.height != actual.height) {
        return testing::AssertionFailure() << "size " << expected.width << "x" << expected.height
                                           << " vs " << actual.width << "x" << actual.height;
    }
    for (int r = 0; r < expected.height; ++r) {
        for (int c = 0; c < expected.width; ++c) {
            if (expected.At(r, c) != actual.At(r, c)) {
                return testing::AssertionFailure()
                       << "pixel (row " << r << ", col " << c << "): " << int(expected.At(r, c))
                       << " vs " << int(actual.At(r, c));
            }
        }
    }
    return testing::AssertionSuccess();
}

testing::AssertionResult SameOutcome(const CutLineOutcome& expected, const CutLineOutcome& actual) {
    const Decomposition& want = expected.decomposition;
    const Decomposition& got = actual.decomposition;
    if (want.cutModels.size() != got.cutModels.size()) {
        return testing::AssertionFailure()
               << "cut models: " << want.cutModels.size() << " vs " << got.cutModels.size();
    }
    for (std::size_t i = 0; i < want.cutModels.size(); ++i) {
        if (!SameModel(want.cutModels[i], got.cutModels[i])) {
            return testing::AssertionFailure()
                   << "cut model " << i << ": " << Describe(want.cutModels[i]) << " vs "
                   << Describe(got.cutModels[i]);
        }
    }
    if (auto blocks = SameBlocks(want.blocks, got.blocks); !blocks)
        return blocks;
    if (want.groupCount != got.groupCount) {
        return testing::AssertionFailure()
               << "group count " << want.groupCount << " vs " << got.groupCount;
    }
    if (auto result = SamePicture(expected.result, actual.result); !result)
        return testing::AssertionFailure() << "result " << result.message();
    if (expected.texts != actual.texts) {
        return testing::AssertionFailure()
               << "status texts: " << testing::PrintToString(expected.texts) << " vs "
               << testing::PrintToString(actual.texts);
    }
    if (expected.positions != actual.positions)
        return testing::AssertionFailure() << "progress positions differ";
    // Bit for bit, not as shown: the shown texts would hide a difference in the last digits.
    if (expected.psnr != actual.psnr) {
        return testing::AssertionFailure() << "PSNR " << testing::PrintToString(expected.psnr)
                                           << " vs " << testing::PrintToString(actual.psnr);
    }
    if (expected.bitRate != actual.bitRate) {
        return testing::AssertionFailure()
               << "bit rate " << testing::PrintToString(expected.bitRate) << " vs "
               << testing::PrintToString(actual.bitRate);
    }
    return testing::AssertionSuccess();
}

}  // namespace zantrel
