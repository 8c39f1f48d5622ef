#include "measure/Reconstruction.h"

#include "linesearch/LineSearch.h"
#include "picture/MessageText.h"
#include "quadtree/GridPictures.h"

namespace zantrel {

std::optional<GrayPicture> Reconstruct(const GrayPicture& blockPicture, const Quadtree& tree,
                                       Progress& progress) {
    progress.SetText(ZANTREL_MESSAGE("Zantrel", "Zantrel解码"));
    GrayPicture result = blockPicture;
    // Positions follow the pixels drawn, so that a large leaf counts for what it costs.
    long long total = 0;
    for (const QuadBlock& leaf : tree.leaves)
        total += leaf.Cut() ? static_cast<long long>(leaf.size) * leaf.size : 0;
    long long drawn = 0;
    int shown = -1;
    for (const QuadBlock& leaf : tree.leaves) {
        if (!leaf.Cut())
            continue;
        if (progress.Cancelled())
            return std::nullopt;
        if (const int position = static_cast<int>(100 * drawn / total); position > shown) {
            shown = position;
            progress.SetPosition(position);
        }
        DrawLeaf(leaf, result);
        drawn += static_cast<long long>(leaf.size) * leaf.size;
    }
    progress.SetText(ZANTREL_MESSAGE("Zantrel", "解码完毕"));
    progress.SetPosition(0);
    return result;
}

}  // namespace zantrel
