#pragma once

#include "picture/Picture.h"

namespace zantrel {

// The gray picture of a colour picture: every pixel the mean of its three channels rounded
// to the nearest integer ((b + g + r) * 0.3333333333333333 + 0.5, truncated). A picture whose
// channels are equal comes back unchanged.
GrayPicture ConvertToGray(const ColorPicture& color);

}  // namespace zantrel
