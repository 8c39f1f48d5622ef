#include "linesearch/LinePrefixSums.h"

#include <cstdlib>
#include <new>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace zantrel {

void LinePrefixSums::FreeAligned::operator()(RowPrefix* p) const {
    std::free(p);
}

void LinePrefixSums::Build(const GrayPicture& gray, std::span<const LatticePoint> origins, int n) {
    const int count = static_cast<int>(origins.size());
    const std::size_t width = static_cast<std::size_t>(gray.width);
    m_n = n;
    // Storage is kept from one group to the next; resize only touches what grows.
    const std::size_t entries = static_cast<std::size_t>(count) * 2 * n * (n + 1);
    if (entries > m_capacity) {
        constexpr std::size_t kHugePage = std::size_t{2} << 20;
        const std::size_t bytes =
            (entries * sizeof(RowPrefix) + kHugePage - 1) / kHugePage * kHugePage;
        m_prefix.reset();
        m_prefix.reset(static_cast<RowPrefix*>(std::aligned_alloc(kHugePage, bytes)));
        if (!m_prefix) {
            m_capacity = 0;
            throw std::bad_alloc();
        }
#if defined(MADV_HUGEPAGE)
        madvise(m_prefix.get(), bytes, MADV_HUGEPAGE);  // only a hint: failing changes nothing
#endif
        m_capacity = bytes / sizeof(RowPrefix);
    }
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
                    m_prefix.get() +
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
