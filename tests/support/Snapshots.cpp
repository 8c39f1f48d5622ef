#include "support/Snapshots.h"

#include <algorithm>

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
    QuietProgress progress;
    CutLineOutcome outcome;
    auto decomposition = SearchLines(tree, gray, sums, workspace, threads, progress);
    if (!decomposition)
        return outcome;
    outcome.decomposition = ToLiteral(*decomposition);
    auto result = Reconstruct(DrawLeaves(tree), decomposition->tree, progress);
    if (!result)
        return outcome;
    outcome.result = std::move(*result);
    outcome.psnr = Psnr(gray, outcome.result);
    outcome.bitRate = EstimateBitRate(*decomposition);
    return outcome;
}

CutLineOutcome RunReference(const GrayPicture& gray, const Quadtree& tree) {
    CutLineOutcome outcome;
    const std::vector<LiteralBlock> blocks = ToLiteral(tree);
    outcome.decomposition = LiteralSearchLines(gray, tree.penalty, blocks);
    outcome.result = LiteralReconstruct(LiteralBlockPicture(gray.width, gray.height, blocks),
                                        outcome.decomposition.cutModels);
    outcome.psnr = LiteralPsnr(gray, outcome.result);
    outcome.bitRate = LiteralBitRate(outcome.decomposition, gray.width, gray.height);
    return outcome;
}

std::vector<LiteralBlock> ToLiteral(const Quadtree& tree) {
    std::vector<LiteralBlock> blocks;
    for (const QuadBlock& leaf : tree.leaves) {
        blocks.push_back({leaf.row, leaf.col, leaf.size, leaf.mean, leaf.error + tree.penalty,
                          leaf.Cut() ? 1 : 0, 0});
    }
    return blocks;
}

LiteralDecomposition ToLiteral(const Decomposition& decomposition) {
    LiteralDecomposition out;
    out.groupCount = decomposition.groupCount;
    out.blocks = ToLiteral(decomposition.tree);
    for (std::size_t i = 0; i < out.blocks.size(); ++i) {
        const CutModel* cut = decomposition.tree.leaves[i].Cut();
        if (!cut)
            continue;
        LiteralBlock& block = out.blocks[i];
        block.cutIndex = static_cast<std::int32_t>(out.cutModels.size());
        out.cutModels.push_back({block.row, block.col, block.size, double(cut->line.first.row),
                                 double(cut->line.first.col), double(cut->line.second.row),
                                 double(cut->line.second.col), cut->valueA, cut->valueB, 0.0, 1,
                                 static_cast<std::int32_t>(i)});
    }
    return out;
}

namespace {

std::string Describe(const LiteralCut& m) {
    return testing::PrintToString(std::vector<double>{double(m.row), double(m.col), double(m.size),
                                                      m.p1Row, m.p1Col, m.p2Row, m.p2Col,
                                                      double(m.meanA), double(m.meanB), m.cost});
}

std::string Describe(const LiteralBlock& b) {
    return testing::PrintToString(std::vector<double>{double(b.row), double(b.col), double(b.size),
                                                      double(b.mean), b.cost, double(b.modelKind)});
}

// The leaves in order of their place, each with its cut model where it has one.
struct PlacedLeaf {
    LiteralBlock block;
    const LiteralCut* cut;
};
std::vector<PlacedLeaf> ByPlace(const std::vector<LiteralBlock>& blocks,
                                const std::vector<LiteralCut>* cuts) {
    std::vector<PlacedLeaf> leaves;
    for (const LiteralBlock& block : blocks) {
        const bool hasCut = cuts && block.modelKind == 1;
        leaves.push_back(
            {block, hasCut ? &(*cuts)[static_cast<std::size_t>(block.cutIndex)] : nullptr});
    }
    std::ranges::sort(leaves, [](const PlacedLeaf& a, const PlacedLeaf& b) {
        return a.block.row != b.block.row ? a.block.row < b.block.row : a.block.col < b.block.col;
    });
    return leaves;
}

testing::AssertionResult SameLeaves(const std::vector<PlacedLeaf>& want,
                                    const std::vector<PlacedLeaf>& got) {
    if (want.size() != got.size())
        return testing::AssertionFailure() << "block count " << want.size() << " vs " << got.size();
    for (std::size_t i = 0; i < want.size(); ++i) {
        const LiteralBlock& a = want[i].block;
        const LiteralBlock& b = got[i].block;
        if (a.row != b.row || a.col != b.col || a.size != b.size || a.mean != b.mean ||
            a.cost != b.cost || a.modelKind != b.modelKind) {
            return testing::AssertionFailure() << "block " << Describe(a) << " vs " << Describe(b);
        }
        const LiteralCut* x = want[i].cut;
        const LiteralCut* y = got[i].cut;
        if (!x || !y)
            continue;
        const bool costsKnown = x->cost != 0.0 && y->cost != 0.0;
        if (x->p1Row != y->p1Row || x->p1Col != y->p1Col || x->p2Row != y->p2Row ||
            x->p2Col != y->p2Col || x->meanA != y->meanA || x->meanB != y->meanB ||
            (costsKnown && x->cost != y->cost)) {
            return testing::AssertionFailure()
                   << "cut model " << Describe(*x) << " vs " << Describe(*y);
        }
    }
    return testing::AssertionSuccess();
}

}  // namespace

testing::AssertionResult SameBlocks(const std::vector<LiteralBlock>& expected,
                                    const std::vector<LiteralBlock>& actual) {
    return SameLeaves(ByPlace(expected, nullptr), ByPlace(actual, nullptr));
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
    const LiteralDecomposition& want = expected.decomposition;
    const LiteralDecomposition& got = actual.decomposition;
    if (want.cutModels.size() != got.cutModels.size()) {
        return testing::AssertionFailure()
               << "cut models: " << want.cutModels.size() << " vs " << got.cutModels.size();
    }
    if (auto leaves =
            SameLeaves(ByPlace(want.blocks, &want.cutModels), ByPlace(got.blocks, &got.cutModels));
        !leaves)
        return leaves;
    if (want.groupCount != got.groupCount) {
        return testing::AssertionFailure()
               << "group count " << want.groupCount << " vs " << got.groupCount;
    }
    if (auto result = SamePicture(expected.result, actual.result); !result)
        return testing::AssertionFailure() << "result " << result.message();
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
