#pragma once
// The settings a Zantrel file's header holds, shared by the file and the walk that codes it.

#include <cstdint>

#include "quadtree/Quadtree.h"

namespace zantrel {

// Version 1 holds the exact mode's decompositions, version 2 the optimised mode's.
inline constexpr std::uint8_t kZtlExactVersion = 1;
inline constexpr std::uint8_t kZtlOptimisedVersion = 2;

// What the header holds. The penalty is informational: decoding does not need it (version 2
// does not hold it).
struct ZtlSettings {
    int width = 0;
    int height = 0;
    double penalty = 0.0;
    std::int32_t minBlockSize = 0;
    std::uint8_t version = kZtlExactVersion;
    Quantiser quantiser;  // version 2 only
};

// The header's fields of `tree`: an optimised tree, one with a quantiser, takes version 2.
inline ZtlSettings SettingsOf(const Quadtree& tree) {
    return {tree.width,
            tree.height,
            tree.penalty,
            tree.minBlockSize,
            tree.quantiser.IsExact() ? kZtlExactVersion : kZtlOptimisedVersion,
            tree.quantiser};
}

}  // namespace zantrel
