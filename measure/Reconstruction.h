#pragma once

#include <optional>
#include <vector>

#include "picture/Picture.h"
#include "picture/Progress.h"
#include "quadtree/Records.h"

// The approximation: `blockPicture` with every block of `cutModels` drawn over it, side A
// (larger row or column) in meanA, side B in meanB, and a pixel whose centre lies exactly on
// an oblique line in the middle value. Reports "Zantrel解码", 100 * i / n per block, then
// "解码完毕" and 0; nothing when cancelled.
std::optional<GrayPicture> Reconstruct(const GrayPicture& blockPicture,
                                       const std::vector<CutModel>& cutModels, CProgress& progress);
