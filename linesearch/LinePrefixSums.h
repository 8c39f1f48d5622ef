#pragma once
// Per-line prefix sums of every block of a size group: for block k, every row r (or
// column, along columns) and every length l (0..n), the sum of g and of g * g over the first
// l pixels of that line. An oblique line divides every row and every column of a block into
// a prefix and the rest, so its sides take one lookup per line it crosses.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "picture/Picture.h"
#include "quadtree/CutLine.h"

namespace zantrel {

struct RowPrefix {
    std::int32_t gray;     // at most 16384 * 255
    std::int32_t squares;  // at most 16384 * 65025 < 2^31
};

class LinePrefixSums {
  public:
    // The n x n blocks of `gray` whose first row and column are `origins`.
    void Build(const GrayPicture& gray, std::span<const LatticePoint> origins, int n);

    const RowPrefix* Line(int block, bool columns, int line) const {
        return m_prefix.get() +
               ((static_cast<std::size_t>(block) * 2 + columns) * m_n + line) * (m_n + 1);
    }
    // Sums over the whole lines 0..line-1 (rows or columns).
    std::int64_t GrayBelow(int block, bool columns, int line) const {
        return m_lines[Index(block, columns, line)].gray;
    }
    std::int64_t SquaresBelow(int block, bool columns, int line) const {
        return m_lines[Index(block, columns, line)].squares;
    }
    std::int64_t Gray(int block) const { return GrayBelow(block, false, m_n); }
    std::int64_t Squares(int block) const { return SquaresBelow(block, false, m_n); }

  private:
    struct LineSums {
        std::int64_t gray;
        std::int64_t squares;
    };
    std::size_t Index(int block, bool columns, int line) const {
        return (static_cast<std::size_t>(block) * 2 + columns) * (m_n + 1) + line;
    }
    int m_n = 0;
    // Per block: n rows, then n columns, of n + 1 entries. Allocated untouched and, where the
    // system offers it, in huge pages: a large block's lines jump between pages constantly.
    struct FreeAligned {
        void operator()(RowPrefix* p) const;
    };
    std::unique_ptr<RowPrefix[], FreeAligned> m_prefix;
    std::size_t m_capacity = 0;     // entries
    std::vector<LineSums> m_lines;  // per block: n + 1 row sums, then n + 1 column sums
};

}  // namespace zantrel
