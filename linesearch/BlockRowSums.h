#pragma once
// Per-line prefix sums of one block: for every block row r (or column, when transposed) and
// length l (0..n), the sum of g and of g * g over the first l pixels of that line. An oblique
// line divides every row and every column into a prefix and the rest, so its sums take one
// lookup per line it crosses.

#include <cstdint>
#include <vector>

struct RowPrefix {
    std::int32_t gray;     // at most 512 * 255
    std::int32_t squares;  // at most 512 * 65025
};

class CBlockRowSums {
  public:
    // The n x n block at (row, col) of g_grayPixels, by rows or by columns.
    CBlockRowSums(int row, int col, int n, bool transposed);

    const RowPrefix* Row(int r) const { return m_prefix.data() + r * (m_n + 1); }
    // Sums of the whole lines 0..r-1.
    std::int64_t GrayOfRowsBelow(int r) const { return m_rowsGray[r]; }
    std::int64_t SquaresOfRowsBelow(int r) const { return m_rowsSquares[r]; }

  private:
    int m_n;
    std::vector<RowPrefix> m_prefix;       // n rows of n + 1 entries
    std::vector<std::int64_t> m_rowsGray;  // n + 1 entries
    std::vector<std::int64_t> m_rowsSquares;
};
