#pragma once
// The records the plain implementations work on, laid out as the method describes them: a
// list of leaf blocks with their one-value mean and cost and a model kind, and a list of
// chosen cut models with their end points as doubles, linked by index.

#include <cstdint>
#include <vector>

namespace zantrel {

struct LiteralBlock {
    std::int32_t row;
    std::int32_t col;
    std::int32_t size;
    std::uint8_t mean;
    double cost;             // penalty + squared error / 512 of the one-value model
    std::int32_t modelKind;  // 0 = one value, 1 = a cut model was chosen
    std::int32_t cutIndex;   // position in the cut models when modelKind is 1
};

struct LiteralCut {
    std::int32_t row;
    std::int32_t col;
    std::int32_t size;
    double p1Row;
    double p1Col;
    double p2Row;
    double p2Col;
    std::uint8_t meanA;
    std::uint8_t meanB;
    double cost;
    std::int32_t chosen;
    std::int32_t blockIndex;
};

struct LiteralPixel {
    std::int32_t row;
    std::int32_t col;
};

struct LiteralDecomposition {
    std::vector<LiteralBlock> blocks;   // the leaves sorted by size; chosen ones marked
    std::vector<LiteralCut> cutModels;  // the chosen models, in candidate order
    std::int32_t groupCount = 0;
};

}  // namespace zantrel
