#pragma once
// A copy of everything a load may change, to show that a refused or failed load changed
// none of it: the colour picture and the kept headers.

#include "import/BmpReader.h"

namespace zantrel {

struct StoreSnapshot {
    explicit StoreSnapshot(const LoadedBmp& loaded)
        : picture(loaded.picture), headers(loaded.headers) {}
    ColorPicture picture;
    bmp::Headers headers;
    bool operator==(const StoreSnapshot&) const = default;
};

}  // namespace zantrel
