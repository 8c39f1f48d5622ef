#pragma once
// A fast, approximate cut-line search for large blocks, where the exhaustive one's n^3 steps
// are too many.

#include <optional>
#include <span>
#include <vector>

#include "linesearch/LineSearch.h"
#include "picture/Picture.h"
#include "picture/Progress.h"

namespace zantrel {

// The best cut line of each block in `blocks` (any sides >= 2, any order), in that order,
// found fast and approximately. Lines are ranked like LineSearch with penalty 0: by
// a.error + b.error, a pixel on an oblique line counting with side A.
//
// A block of side 64 or less gets LineSearch's exact answer. A larger block is averaged down
// to 64 x 64 cells of exact sums; every oblique line of that grid is ranked by its cells'
// sums, and the best few, mapped to the block's border, are refined at full resolution by a
// pattern search over their end points with steps from the cell size down to one pixel. The
// winner is compared with every row and column cut, which are exact. So a large block's cost
// is usually the exhaustive search's and otherwise a little above it; its fits `a` and `b` are
// always the exact fits of its two sides. The result does not depend on `threads` (0 means
// every core).
//
// Besides the picture, a worker holds about n^2 / 2 bytes for a block of side n, and the small
// blocks are copied about a million pixels at a time. Progress positions (and LineSearch's
// texts) go to `progress`; once it is cancelled the search stops within milliseconds and
// returns nothing.
std::optional<std::vector<BestCut>> SearchLinesCoarsely(const GrayPicture& gray,
                                                        std::span<const LineSearch::Block> blocks,
                                                        int threads, Progress& progress);

}  // namespace zantrel
