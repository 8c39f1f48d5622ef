#pragma once
// The optimised mode's decision for one penalty: bottom up, every block keeps the cheaper of
// its best leaf model and its four quarters, where a choice costs its distortion (the squared
// error of the pixels as they will be drawn, / 512) plus the penalty times the bits the file
// will spend on it, as `costs` estimates them.

#include <vector>

#include "optimise/BlockSearch.h"
#include "optimise/RateModel.h"
#include "picture/Picture.h"
#include "quadtree/Quadtree.h"
#include "quadtree/SummedTables.h"

namespace zantrel {

// The kinds of leaf model the pruning may choose from.
struct ModelKinds {
    bool cuts = true;
    bool ramps = true;
    bool cutRamps = true;
};

struct PrunedTree {
    Quadtree tree;       // with its quantiser; drawn, it is what the file decodes to
    double bits = 0.0;   // the payload's bits as the pruning believed them
    double error = 0.0;  // the drawn picture's squared error against the picture, / 512
};

// Memory a pruning reuses from one pass to the next: a cost per block of every side.
struct PruneWorkspace {
    enum Cell : std::uint8_t { Outside, Leaf, Split };
    struct CellCost {
        double cost = 0.0;
        Cell state = Outside;
    };
    std::vector<std::vector<CellCost>> cells;  // per level, per block
};

// The best tree of `search` (made from `gray` with tables `sums`) under `penalty` (>= 0, the
// price of one bit in units of squared error / 512), with values on `quantiser`'s steps; the
// values' predictions are read from `drawn` (the picture itself, or a previous pass's result,
// nearer to what the decoder will have drawn), of the same size.
PrunedTree Prune(const BlockSearch& search, const GrayPicture& gray, const SummedTables& sums,
                 const GrayPicture& drawn, double penalty, const Quantiser& quantiser,
                 const BitCosts& costs, const ModelKinds& kinds, PruneWorkspace& workspace);

}  // namespace zantrel
