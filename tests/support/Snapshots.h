#pragma once
// What a Zantrel decomposition leaves behind, captured for comparison.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "quadtree/Records.h"

struct ZantrelOutcome {
    std::vector<QuadBlock> blocks;
    std::vector<CutModel> cutModels;
    int groupCount = 0;
    std::vector<std::uint8_t> result;
    std::vector<std::string> paneTexts;
    std::vector<int> progress;
    std::string bitRate;
};

// Runs `searchAndReconstruct` and then the bit-rate step `bitRate` on the current store and
// block list, recording everything; restores g_blocks and g_resultPixels first from the
// given starting point so that several runs start equal.
ZantrelOutcome RunZantrel(const std::vector<QuadBlock>& startBlocks,
                          const std::vector<std::uint8_t>& startResult,
                          const std::function<void()>& searchAndReconstruct,
                          const std::function<std::string()>& bitRate);

// Field-by-field equality with a message naming the first difference.
testing::AssertionResult SameOutcome(const ZantrelOutcome& expected, const ZantrelOutcome& actual);

bool SameModel(const CutModel& a, const CutModel& b);
