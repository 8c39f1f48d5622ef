#pragma once
// Figures are shown as "%f" texts: fixed point, six decimals, no unit ("inf" for infinity).

#include <string>
#include <string_view>

namespace zantrel {

std::string FormatFigure(double value);

inline constexpr std::string_view kPsnrCaption = "图像的PSNR为：";
inline constexpr std::string_view kBitRateCaption = "图像的BIT率为：";

}  // namespace zantrel
