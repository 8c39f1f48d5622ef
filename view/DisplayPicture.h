#pragma once
// The picture a display mode shows, built from the picture store at paint time.

#include <QImage>
#include <cstdint>

// The 512 x 512 picture of `displayMode`, top row first: the colour picture in mode 1, a
// gray buffer in modes 2 to 6, white for any other mode. A null image while no picture has
// been loaded, since there is nothing to describe the picture yet.
QImage DisplayPicture(std::int32_t displayMode);
