#pragma once
// A perceptually uniform colour map (viridis) for pictures of a measure: dark violet for none,
// through blue and green, to yellow for the most, so brightness grows with the value and the
// picture reads the same in gray. Eleven evenly spaced colours, read with linear interpolation.

#include <QRgb>

namespace zantrel {

// The colour of `t` in 0 … 1; values outside are clamped.
QRgb ColorMapAt(double t);

}  // namespace zantrel
