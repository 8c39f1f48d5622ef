#pragma once
// A copy of everything a load may change, to show that a refused or failed load changed
// none of it: the colour picture, the kept headers and the two flags.

#include <cstdint>
#include <cstring>
#include <vector>

#include "picture/PictureStore.h"

struct StoreSnapshot {
    std::vector<std::uint8_t> color{g_colorPixels, g_colorPixels + kColorBytes};
    std::vector<std::uint8_t> headers = [] {
        std::vector<std::uint8_t> h(kFileHeaderBytes + kInfoHeaderBytes);
        std::memcpy(h.data(), g_fileHeader, kFileHeaderBytes);
        std::memcpy(h.data() + kFileHeaderBytes, g_infoHeader, kInfoHeaderBytes);
        return h;
    }();
    std::int32_t loaded = g_pictureLoaded;
    std::int32_t mode = g_displayMode;
    bool operator==(const StoreSnapshot&) const = default;
};
