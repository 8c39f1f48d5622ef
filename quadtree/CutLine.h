#pragma once
// A cut line through a square block and the one rule that says which side of it a pixel lies
// on. The search, the reconstruction, the file's walk and the drawings all decide sides here.
//
// Coordinates are block-local lattice points (row offset, column offset), each 0 .. size, with
// row 0 the block's bottom row. Pixel (r, c) has its centre at (r + 1/2, c + 1/2). Side A is
// the side of the larger rows (a cut along a constant row), of the larger columns (a cut along
// a constant column), or, for an oblique line, of the centres to the larger-column side of the
// line; side B is the rest. A centre exactly on an oblique line is told apart (OnLine): the
// search counts it with side A, a drawing gives it the middle of the two values. The rule is
// decided exactly, in integers on doubled coordinates, for every block size.

#include <cstdint>

namespace zantrel {

struct LatticePoint {
    std::int32_t row;
    std::int32_t col;
    bool operator==(const LatticePoint&) const = default;
};

struct CutLine {
    LatticePoint first;
    LatticePoint second;
    // A cut between two rows; a line whose end points coincide counts as one too.
    bool IsConstantRow() const { return first.row == second.row; }
    bool IsConstantColumn() const { return !IsConstantRow() && first.col == second.col; }
    bool IsOblique() const { return !IsConstantRow() && !IsConstantColumn(); }
    bool operator==(const CutLine&) const = default;
};

enum class CutSide : std::uint8_t { B, OnLine, A };

class CutSides {
  public:
    explicit CutSides(const CutLine& line);

    // The side of block-local pixel (r, c).
    CutSide Of(int r, int c) const {
        if (m_kind == Kind::ConstantRow)
            return r >= m_cut ? CutSide::A : CutSide::B;
        if (m_kind == Kind::ConstantColumn)
            return c >= m_cut ? CutSide::A : CutSide::B;
        const std::int64_t t = Crossing(r, c);
        return t < 0 ? CutSide::B : (t == 0 ? CutSide::OnLine : CutSide::A);
    }

    // Row r of a block of side n in three runs: columns 0 .. bEnd - 1 on side B, bEnd ..
    // aBegin - 1 on the line (at most one pixel), aBegin .. n - 1 on side A.
    struct RowRuns {
        int bEnd;
        int aBegin;
    };
    RowRuns RowOf(int r, int n) const;

    // The share of pixel (r, c)'s square on side A, as AreaOfA(r, c) / AreaScale(), exactly:
    // an oblique line crosses some pixels, which the optimised mode's drawing blends; every
    // other pixel lies wholly on one side (the side its centre is on).
    // The columns first .. last of row r (of a block of side n) that an oblique line may
    // cross; none (first > last) for an axis-parallel cut.
    void CrossedColumns(int r, int n, int& first, int& last) const;
    std::int64_t AreaScale() const { return m_kind == Kind::Oblique ? 2 * m_dr * Abs(m_dc) : 1; }
    std::int64_t AreaOfA(int r, int c) const {
        if (m_kind != Kind::Oblique)
            return Of(r, c) == CutSide::A ? 1 : 0;
        // f = (x - c1) dr - (y - r1) dc over the square, positive on side A; the area where a
        // linear function of the square is positive is the second difference of max(f, 0)^2
        // over its corners, divided by twice the product of its slopes.
        const std::int64_t f = (c - m_c1) * m_dr - (r - m_r1) * m_dc;
        const std::int64_t twiceArea =
            Ramp(f + m_dr - m_dc) - Ramp(f + m_dr) - Ramp(f - m_dc) + Ramp(f);
        return m_dc < 0 ? twiceArea : -twiceArea;  // the slopes' product is -dr dc
    }

  private:
    enum class Kind { ConstantRow, ConstantColumn, Oblique };
    static std::int64_t Abs(std::int64_t v) { return v < 0 ? -v : v; }
    static std::int64_t Ramp(std::int64_t v) { return v > 0 ? v * v : 0; }
    // Twice the signed column distance of the centre of (r, c) from the line, times dr > 0:
    // negative on side B, 0 on the line, positive on side A.
    std::int64_t Crossing(int r, int c) const {
        return (2 * static_cast<std::int64_t>(c) + 1 - 2 * m_c1) * m_dr -
               (2 * static_cast<std::int64_t>(r) + 1 - 2 * m_r1) * m_dc;
    }

    Kind m_kind;
    std::int32_t m_cut = 0;  // the row or column of an axis-parallel cut
    // An oblique line from its end point of the smaller row: (m_r1, m_c1) plus (m_dr, m_dc).
    std::int64_t m_r1 = 0, m_c1 = 0, m_dr = 1, m_dc = 0;
};

}  // namespace zantrel
