#include "linesearch/LinePrefixSums.h"

namespace zantrel {

void LinePrefixSums::Build(const GrayPicture& gray, std::span<const LatticePoint> origins, int n) {
    const int count = static_cast<int>(origins.size());
    const std::size_t width = static_cast<std::size_t>(gray.width);
    m_n = n;
    // Storage is kept from one group to the next; resize only touches what grows.
    m_prefix.resize(static_cast<std::size_t>(count) * 2 * n * (n + 1));
    m_lines.resize(static_cast<std::size_t>(count) * 2 * (n + 1));
    for (int k = 0; k < count; ++k) {
        for (const bool columns : {false, true}) {
            LineSums* lines = m_lines.data() + Index(k, columns, 0);
            lines[0] = {0, 0};
            for (int line = 0; line < n; ++line) {
                // Row `line` of the block, or its column `line` read from the bottom row up.
                const std::uint8_t* start =
                    gray.samples.data() + (columns
                                               ? gray.Index(origins[k].row, origins[k].col + line)
                                               : gray.Index(origins[k].row + line, origins[k].col));
                const std::size_t stride = columns ? width : 1;
                RowPrefix* prefix =
                    m_prefix.data() +
                    ((static_cast<std::size_t>(k) * 2 + columns) * n + line) * (n + 1);
                prefix[0] = {0, 0};
                for (int c = 0; c < n; ++c) {
                    const std::int32_t g = start[c * stride];
                    prefix[c + 1] = {prefix[c].gray + g, prefix[c].squares + g * g};
                }
                lines[line + 1] = {lines[line].gray + prefix[n].gray,
                                   lines[line].squares + prefix[n].squares};
            }
        }
    }
}

}  // namespace zantrel
