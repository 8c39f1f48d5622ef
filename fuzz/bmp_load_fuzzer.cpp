// libFuzzer target: arbitrary bytes through the loader the front ends use. Any crash, read
// out of bounds, undefined behaviour, hang or broken promise of the loader is a finding.

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz/LoadCheck.h"
#include "picture/PictureStore.h"

// Starts from a store that already holds a picture, so that a refusal which clears or
// overwrites anything shows up even before the first accepted input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    for (int i = 0; i < kColorBytes; ++i)
        g_colorPixels[i] = static_cast<std::uint8_t>(i * 31 + 7);
    std::memset(g_fileHeader, 0xA5, kFileHeaderBytes);
    std::memset(g_infoHeader, 0x5A, kInfoHeaderBytes);
    g_pictureLoaded = 1;
    g_displayMode = DISPLAY_QUADTREE;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string problem = CheckLoadBytes({data, size});
    if (!problem.empty()) {
        std::fprintf(stderr, "broken load: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
