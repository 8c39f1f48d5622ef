#pragma once

#include <cstdint>

// PSNR in dB of `result` against `gray` (both 512 x 512); +infinity for equal pictures.
double PsnrOf(const std::uint8_t* gray, const std::uint8_t* result);
