#include "measure/Reconstruction.h"

#include "linesearch/LineSearch.h"
#include "picture/MessageText.h"
#include "quadtree/GridPictures.h"

namespace zantrel {

std::optional<GrayPicture> Reconstruct(const GrayPicture& blockPicture, const Quadtree& tree,
                                       Progress& progress) {
    progress.SetText(ZANTREL_MESSAGE("Zantrel", "Zantrel解码"));
    GrayPicture result = blockPicture;
    const auto n = static_cast<long long>(CutCount(tree));
    long long i = 0;
    for (const QuadBlock& leaf : tree.leaves) {
        if (!leaf.Cut())
            continue;
        if (progress.Cancelled())
            return std::nullopt;
        progress.SetPosition(static_cast<int>(100 * i / n));
        DrawLeaf(leaf, result);
        ++i;
    }
    progress.SetText(ZANTREL_MESSAGE("Zantrel", "解码完毕"));
    progress.SetPosition(0);
    return result;
}

}  // namespace zantrel
