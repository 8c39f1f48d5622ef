// The whole pipeline after the gray conversion, on pictures of odd sizes, against the plain
// reference: every leaf, the grid, the block picture, every cut model, the reconstruction
// and both figures, bit for bit.

#include <gtest/gtest.h>

#include "measure/BitRate.h"
#include "measure/Psnr.h"
#include "measure/Stages.h"
#include "reference/LiteralQuadtree.h"
#include "support/RecordingShell.h"
#include "support/Snapshots.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

struct Setting {
    int picture;  // see OddSizePicture
    double penalty;
    int minBlockSize;
};

// Noise keeps its blocks small at these penalties; the ramps at 50 leave large blocks that
// are too cheap to be candidates, so the reference never searches a block above 64.
constexpr Setting kSettings[] = {{0, 0.0, 8}, {0, 1.0, 1}, {0, 1.0, 4}, {0, 0.0, 3},
                                 {1, 0.0, 4}, {1, 1.0, 3}, {1, 1.0, 8}, {1, 50.0, 1}};

TEST(OddSizes, WholePipelineEqualsTheReference) {
    PipelineWorkspace workspace;  // reused across sizes, as the sweep does
    for (const auto& [w, h] : kOddSizes) {
        for (const Setting& s : kSettings) {
            SCOPED_TRACE(testing::Message()
                         << w << " x " << h << ", picture " << s.picture << ", penalty "
                         << s.penalty << ", minimum " << s.minBlockSize);
            const GrayPicture gray = OddSizePicture(s.picture, w, h);
            PrepareWorkspace(gray, workspace);
            const QuadtreeStage quadtree = RunQuadtreeStage(workspace, s.penalty, s.minBlockSize);
            QuietProgress progress;
            const auto stage = RunCutLineStage(gray, quadtree, workspace, 2, progress);
            ASSERT_TRUE(stage);

            const LiteralQuadtree literal =
                LiteralQuadtreeDecompose(gray, s.penalty, s.minBlockSize);
            ASSERT_TRUE(SameBlocks(literal.blocks, ToLiteral(quadtree.tree)));
            EXPECT_TRUE(SamePicture(literal.grid, quadtree.grid));
            EXPECT_TRUE(
                SamePicture(LiteralBlockPicture(w, h, literal.blocks), quadtree.blockPicture));

            const CutLineOutcome expected = RunReference(gray, quadtree.tree);
            const CutLineOutcome actual{ToLiteral(stage->decomposition), stage->result,
                                        Psnr(gray, stage->result),
                                        EstimateBitRate(stage->decomposition)};
            EXPECT_TRUE(SameOutcome(expected, actual));
        }
    }
}

}  // namespace

}  // namespace zantrel
