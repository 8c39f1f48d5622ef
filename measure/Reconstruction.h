#pragma once

#include <optional>

#include "picture/Picture.h"
#include "picture/Progress.h"
#include "quadtree/Quadtree.h"

namespace zantrel {

// The approximation: `blockPicture` with every leaf of `tree` that has a cut model drawn over
// it (see DrawLeaf). Reports "Zantrel解码", before each cut leaf the share of the cut leaves'
// pixels drawn so far (0..100, where it has grown), then "解码完毕" and 0; nothing when
// cancelled.
std::optional<GrayPicture> Reconstruct(const GrayPicture& blockPicture, const Quadtree& tree,
                                       Progress& progress);

}  // namespace zantrel
