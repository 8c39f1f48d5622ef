#pragma once
// The chart of a sweep as a standalone SVG document: PSNR of the reconstruction (dB) against
// its bit rate (bits per pixel), one point per penalty, labelled with the penalty.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/SweepTable.h"

namespace zantrel {

// `pictureName` is shown in the title; any bytes are safe (see XmlText). Rows whose PSNR or
// bit rate is not a finite number are listed under the chart instead of drawn.
std::string SweepChartSvg(const std::vector<SweepRow>& rows, std::string_view pictureName,
                          std::int32_t minBlockSize);

// `text` as XML character data or attribute value: markup characters escaped, and bytes that
// are not UTF-8 or characters XML forbids (control characters) replaced by U+FFFD, so a file
// name can never break the document.
std::string XmlText(std::string_view text);

}  // namespace zantrel
