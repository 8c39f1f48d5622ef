#pragma once
// What the cut-line stage leaves behind, run through the engine or the reference and
// captured for comparison.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "linesearch/LineSearch.h"
#include "picture/Picture.h"
#include "quadtree/Quadtree.h"
#include "quadtree/Records.h"

namespace zantrel {

struct CutLineOutcome {
    Decomposition decomposition;
    GrayPicture result;
    double psnr = 0.0;
    double bitRate = 0.0;
    std::vector<std::string> texts;  // of the search and the reconstruction
    std::vector<int> positions;
};

// The engine's search on `threads` threads, its reconstruction over the block picture of
// `tree`, and the two figures.
CutLineOutcome RunEngine(const GrayPicture& gray, const Quadtree& tree, int threads);
// The same through the reference.
CutLineOutcome RunReference(const GrayPicture& gray, const Quadtree& tree);

// Field-by-field equality with a message naming the first difference.
testing::AssertionResult SameOutcome(const CutLineOutcome& expected, const CutLineOutcome& actual);
testing::AssertionResult SameBlocks(const std::vector<QuadBlock>& expected,
                                    const std::vector<QuadBlock>& actual);
testing::AssertionResult SamePicture(const GrayPicture& expected, const GrayPicture& actual);

bool SameModel(const CutModel& a, const CutModel& b);

}  // namespace zantrel
