#pragma once
// What the cut-line stage leaves behind, run through the engine or the reference and
// captured for comparison.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "linesearch/LineSearch.h"
#include "picture/Picture.h"
#include "quadtree/Quadtree.h"
#include "reference/LiteralRecords.h"

namespace zantrel {

// The outcome in the reference's records: the engine's is converted (ToLiteral).
struct CutLineOutcome {
    LiteralDecomposition decomposition;
    GrayPicture result;
    double psnr = 0.0;
    double bitRate = 0.0;
};

// The engine's search on `threads` threads, its reconstruction over the block picture of
// `tree`, and the two figures.
CutLineOutcome RunEngine(const GrayPicture& gray, const Quadtree& tree, int threads);
// The same through the reference, from the leaves of `tree`.
CutLineOutcome RunReference(const GrayPicture& gray, const Quadtree& tree);

// The engine's leaves as the reference lists them: one-value cost = error + penalty, and for a
// tree with chosen models, the cut models (cost 0: the tree keeps no cut costs).
std::vector<LiteralBlock> ToLiteral(const Quadtree& tree);
LiteralDecomposition ToLiteral(const Decomposition& decomposition);

// Equality of what each leaf holds, whatever the order of the lists, with a message naming the
// first difference. Cut costs are compared where both sides have them.
testing::AssertionResult SameOutcome(const CutLineOutcome& expected, const CutLineOutcome& actual);
testing::AssertionResult SameBlocks(const std::vector<LiteralBlock>& expected,
                                    const std::vector<LiteralBlock>& actual);
testing::AssertionResult SamePicture(const GrayPicture& expected, const GrayPicture& actual);

}  // namespace zantrel
