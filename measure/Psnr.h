#pragma once

#include "picture/Picture.h"

namespace zantrel {

// PSNR in dB of `result` against `gray` (same size): 10 log10(65025 / MSE), with the mean
// squared error over every pixel; +infinity for equal pictures.
double Psnr(const GrayPicture& gray, const GrayPicture& result);

}  // namespace zantrel
