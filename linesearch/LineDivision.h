#pragma once
// How a straight line between two border points divides an n x n pixel grid, decided
// exactly in integers on doubled coordinates.
//
// Pixel (r, c) has its centre at (r + 1/2, c + 1/2). It lies on side B when its centre is
// strictly left of the line, c + 1/2 < L(r + 1/2) where L(x) is the line's column at row x;
// every other pixel, including one whose centre lies exactly on the line, is on side A.
// Side B is therefore a prefix of every row, whose length follows from the line alone.

#include <vector>

#include "linesearch/BorderPoints.h"

// Where a centre lies relative to the line, for the middle value of the reconstruction.
enum class CentreSide { B, OnLine, A };

class CLineDivision {
  public:
    // The line through `first` and `second`, which must lie on different rows.
    CLineDivision(BorderPoint first, BorderPoint second);

    // Side of the centre of pixel (r, c).
    CentreSide Side(int r, int c) const;
    // Number of pixels of row r on side B (0..n).
    int PrefixLength(int r, int n) const;

    // The prefix lengths of rows 0..n-1, summarised for the search: rows below `partialBegin`
    // and from `partialEnd` on are wholly on one side each (`fullBegin`..`fullEnd` is the run
    // of rows wholly on side B), and `partialLengths` holds the lengths of the rows between.
    struct Rows {
        int countB = 0;  // pixels on side B
        int fullBegin = 0;
        int fullEnd = 0;
        int partialBegin = 0;
        std::vector<int> partialLengths;
    };
    void DivideRows(int n, Rows& rows) const;

  private:
    // With the points ordered so that dr > 0, the centre of (r, c) is on side B exactly when
    // 2c * dr < T(r), where T(r) = dc * (2r + 1 - 2 * r1) + (2 * c1 - 1) * dr.
    long long T(int r) const { return m_dc * (2LL * r + 1 - 2LL * m_r1) + (2LL * m_c1 - 1) * m_dr; }
    long long m_r1, m_c1, m_dr, m_dc;
};
