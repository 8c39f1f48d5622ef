#pragma once
// The predictions the file's decoder makes for a leaf from the pixels just below and just left
// of it, made here from a picture the encoder has at hand: the picture itself before anything
// is decided, the last pass's drawing after.

#include <cstdint>

#include "picture/Picture.h"
#include "quadtree/CutLine.h"

namespace zantrel {

struct NeighbourPrediction {
    std::uint8_t predicted = 128;  // a one-value leaf's value
    std::uint8_t activity = 4;     // how much the neighbours vary: 0 .. 3, 4 for none
    // Each side of a cut line: its neighbours' rounded mean (128 for none) and their number.
    std::uint8_t predictedA = 128;
    std::uint8_t predictedB = 128;
    std::int32_t neighboursA = 0;
    std::int32_t neighboursB = 0;
    // A ramp's gradient indices as the file predicts them (codec/ZtlWalk.h), where priced.
    int gradients[2] = {0, 0};
};

// The predictions for the block (row, col) of side n of `drawn`; with `sides`, each side's too.
NeighbourPrediction PredictFromNeighbours(const GrayPicture& drawn, int row, int col, int n,
                                          const CutSides* sides);

}  // namespace zantrel
