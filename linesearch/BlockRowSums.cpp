#include "linesearch/BlockRowSums.h"

#include "picture/PictureStore.h"

CBlockRowSums::CBlockRowSums(int row, int col, int n, bool transposed)
    : m_n(n),
      m_prefix(static_cast<std::size_t>(n) * (n + 1)),
      m_rowsGray(n + 1),
      m_rowsSquares(n + 1) {
    for (int r = 0; r < n; ++r) {
        RowPrefix* prefix = m_prefix.data() + r * (n + 1);
        // Line r: block row r, or block column r read from the bottom row up.
        const std::uint8_t* start = g_grayPixels + (transposed ? row * kPictureSide + col + r
                                                               : (row + r) * kPictureSide + col);
        const int stride = transposed ? kPictureSide : 1;
        prefix[0] = {0, 0};
        for (int c = 0; c < n; ++c) {
            const std::int32_t g = start[c * stride];
            prefix[c + 1] = {prefix[c].gray + g, prefix[c].squares + g * g};
        }
        m_rowsGray[r + 1] = m_rowsGray[r] + prefix[n].gray;
        m_rowsSquares[r + 1] = m_rowsSquares[r] + prefix[n].squares;
    }
}
