#pragma once
// The settings a Zantrel file's header holds, shared by the file and the walk that codes it.

#include <cstdint>

#include "quadtree/Quadtree.h"

namespace zantrel {

// What the header holds. The penalty is informational: decoding does not need it.
struct ZtlSettings {
    int width = 0;
    int height = 0;
    double penalty = 0.0;
    std::int32_t minBlockSize = 0;
};

// The header's fields of `tree`.
inline ZtlSettings SettingsOf(const Quadtree& tree) {
    return {tree.width, tree.height, tree.penalty, tree.minBlockSize};
}

}  // namespace zantrel
