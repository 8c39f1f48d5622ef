#include "quadtree/CutLine.h"

#include <algorithm>

namespace zantrel {

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {  // b > 0
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

CutSides::CutSides(const CutLine& line) {
    if (line.IsConstantRow()) {
        m_kind = Kind::ConstantRow;
        m_cut = line.first.row;
    } else if (line.IsConstantColumn()) {
        m_kind = Kind::ConstantColumn;
        m_cut = line.first.col;
    } else {
        m_kind = Kind::Oblique;
        const LatticePoint low = line.first.row < line.second.row ? line.first : line.second;
        const LatticePoint high = line.first.row < line.second.row ? line.second : line.first;
        m_r1 = low.row;
        m_c1 = low.col;
        m_dr = high.row - low.row;
        m_dc = high.col - low.col;
    }
}

CutSides::RowRuns CutSides::RowOf(int r, int n) const {
    if (m_kind == Kind::ConstantRow)
        return r >= m_cut ? RowRuns{0, 0} : RowRuns{n, n};
    if (m_kind == Kind::ConstantColumn) {
        const int cut = std::clamp(m_cut, 0, n);
        return {cut, cut};
    }
    // Crossing(r, c) = 2 dr c + t0 rises with c: side B while it is negative.
    const std::int64_t t0 = Crossing(r, 0);
    const std::int64_t step = 2 * m_dr;
    const std::int64_t bEnd = std::clamp<std::int64_t>(FloorDiv(-t0 - 1, step) + 1, 0, n);
    const bool onLine = bEnd < n && Crossing(r, static_cast<int>(bEnd)) == 0;
    return {static_cast<int>(bEnd), static_cast<int>(bEnd) + (onLine ? 1 : 0)};
}

void CutSides::CrossedColumns(int r, int n, int& first, int& last) const {
    if (m_kind != Kind::Oblique) {
        first = 1;
        last = 0;
        return;
    }
    // The line's column at rows r and r + 1, in units of 1 / dr.
    const std::int64_t low = m_c1 * m_dr + (r - m_r1) * m_dc;
    const std::int64_t high = low + m_dc;
    first = static_cast<int>(std::clamp<std::int64_t>(FloorDiv(std::min(low, high), m_dr), 0, n));
    last = static_cast<int>(
        std::clamp<std::int64_t>(-FloorDiv(-std::max(low, high), m_dr) - 1, -1, n - 1));
}

}  // namespace zantrel
