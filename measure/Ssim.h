#pragma once
// Structural similarity of a result against the gray picture it approximates.

#include "picture/Picture.h"

namespace zantrel {

// SSIM of `result` against `gray` (same size) as codec comparisons quote it: Gaussian weights
// (σ = 1.5) over an 11 × 11 window, K1 = 0.01, K2 = 0.03, L = 255, population (co)variances,
// the mean over every position where the window lies wholly inside the picture. Along a side
// shorter than 11 pixels the window is that side, with the Gaussian centred on it and its
// weights normalised again, so that any picture has at least one position and equal pictures
// always give 1.
double Ssim(const GrayPicture& gray, const GrayPicture& result);

}  // namespace zantrel
