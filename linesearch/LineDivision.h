#pragma once
// How a straight line between two border points divides an n x n pixel grid, decided
// exactly in integers on doubled coordinates.
//
// Pixel (r, c) has its centre at (r + 1/2, c + 1/2). It lies on side B when its centre is
// strictly on the smaller-column side of the line, c + 1/2 < L(r + 1/2) where L(x) is the
// line's column at row x; every other pixel, including one whose centre lies exactly on the
// line, is on side A. So side B is a prefix of every row, and a prefix or a suffix of every
// column, whose length follows from the line alone.

#include <vector>

#include "linesearch/BorderPoints.h"

namespace zantrel {

class LineDivision {
  public:
    // The line through `first` and `second`, which must differ in row and in column.
    LineDivision(LatticePoint first, LatticePoint second);

    // Number of pixels of row r on side B (0..n).
    int PrefixLength(int r, int n) const;

    // The division as prefixes of the rows, or of the columns, of the block: the lines
    // (rows or columns) fullBegin..fullEnd-1 lie wholly in the prefix region, the lines
    // partialBegin.. have the prefix lengths in `partialLengths`, and every other line lies
    // wholly outside it. The prefix region is side B, or side A where a column's side B is
    // its suffix.
    struct Prefixes {
        bool alongColumns = false;
        bool prefixIsB = true;
        int prefixCount = 0;  // pixels in the prefix region
        int fullBegin = 0;
        int fullEnd = 0;
        int partialBegin = 0;
        std::vector<int> partialLengths;
        int CountB(int n) const { return prefixIsB ? prefixCount : n * n - prefixCount; }
    };
    // Describes the division along rows or columns, whichever the line crosses fewer of.
    void Divide(int n, Prefixes& prefixes) const;

    // The same division with the partial lengths stepped one line at a time instead of
    // stored, for a search that walks many lines together: Next() gives the lengths of lines
    // partialBegin, partialBegin + 1, ... in turn, exactly those of Divide.
    struct Walk {
        bool alongColumns = false;
        bool prefixIsB = true;
        int fullBegin = 0;
        int fullEnd = 0;
        int partialBegin = 0;
        int partialEnd = 0;
        long long quotient = 0;
        long long remainder = 0;
        long long stepQuotient = 0;
        long long stepRemainder = 0;
        long long d = 1;
        int Next() {
            const int length = static_cast<int>(quotient);
            quotient += stepQuotient;
            remainder += stepRemainder;
            if (remainder >= d) {
                remainder -= d;
                ++quotient;
            }
            return length;
        }
    };
    void StartWalk(int n, Walk& walk) const;

  private:
    // A line in one orientation with the points ordered so that dr > 0: the prefix of line r
    // holds the c with 2c * dr < T(r), T(r) = dc (2r + 1 - 2 r1) + (2 c1 - 1) dr + shift,
    // where shift 1 turns the test into 2c * dr <= T(r) - 1 + 1, counting centres on the line.
    struct Frame {
        long long r1, c1, dr, dc, shift;
        long long T(long long r) const {
            return dc * (2 * r + 1 - 2 * r1) + (2 * c1 - 1) * dr + shift;
        }
    };
    static void StartFrame(const Frame& frame, int n, Walk& walk);
    Frame m_rows;     // rows, strict: the prefixes are side B
    Frame m_columns;  // the transposed line
    bool m_columnPrefixIsB;
};

}  // namespace zantrel
