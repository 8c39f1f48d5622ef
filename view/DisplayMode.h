#pragma once
// What the view shows. The enabling rules of the picture menu follow the mode: each stage is
// offered only from the mode of the stage before it.

#include <cstdint>

namespace zantrel {

enum DisplayMode : std::int32_t {
    DISPLAY_NONE = 0,  // nothing loaded yet
    DISPLAY_COLOR = 1,
    DISPLAY_GRAY = 2,
    DISPLAY_QUADTREE = 3,    // the block picture
    DISPLAY_GRAY_GRID = 4,   // block borders over the block picture
    DISPLAY_ZANTREL = 5,     // the reconstruction
    DISPLAY_GRID_LINES = 6,  // the bare grid with the chosen cut lines in red
};

}  // namespace zantrel
