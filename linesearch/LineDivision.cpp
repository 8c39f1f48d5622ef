#include "linesearch/LineDivision.h"

#include <algorithm>

CLineDivision::CLineDivision(BorderPoint first, BorderPoint second) {
    if (second.row < first.row)
        std::swap(first, second);
    m_r1 = first.row;
    m_c1 = first.col;
    m_dr = second.row - first.row;
    m_dc = second.col - first.col;
}

CentreSide CLineDivision::Side(int r, int c) const {
    const long long left = 2LL * c * m_dr;
    const long long t = T(r);
    return left < t ? CentreSide::B : (left == t ? CentreSide::OnLine : CentreSide::A);
}

int CLineDivision::PrefixLength(int r, int n) const {
    // The count of c >= 0 with 2c * dr < T is ceil(T / (2 dr)) when T > 0.
    const long long t = T(r);
    if (t <= 0)
        return 0;
    const long long twoDr = 2 * m_dr;
    return static_cast<int>(std::min<long long>((t + twoDr - 1) / twoDr, n));
}

namespace {

long long FloorDiv(long long a, long long b) {  // b > 0
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

long long CeilDiv(long long a, long long b) {
    return -FloorDiv(-a, b);
}

int Clamp(long long value, int n) {
    return static_cast<int>(std::clamp<long long>(value, 0, n));
}

}  // namespace

void CLineDivision::DivideRows(int n, Rows& rows) const {
    // A row's prefix length is ceil(T(r) / D), clamped to 0..n, with D = 2 dr and T linear in
    // r with slope 2 dc. So the rows wholly on side B form one run at one end, the rows with
    // nothing on side B a run at the other, and only the rows between need their lengths.
    const long long d = 2 * m_dr;
    const long long t0 = T(0);
    const long long fullAbove = static_cast<long long>(n - 1) * d;  // T above this: a full row
    int partialBegin = 0;
    int partialEnd = 0;
    if (m_dc > 0) {
        const long long step = 2 * m_dc;
        partialBegin = Clamp(FloorDiv(-t0, step) + 1, n);
        partialEnd = std::max(partialBegin, Clamp(FloorDiv(fullAbove - t0, step) + 1, n));
        rows.fullBegin = partialEnd;
        rows.fullEnd = n;
    } else {
        const long long step = -2 * m_dc;  // dc is never 0 for a line across rows and columns
        partialEnd = Clamp(CeilDiv(t0, step), n);
        partialBegin = std::min(partialEnd, Clamp(CeilDiv(t0 - fullAbove, step), n));
        rows.fullBegin = 0;
        rows.fullEnd = partialBegin;
    }
    rows.partialBegin = partialBegin;
    rows.partialLengths.resize(partialEnd - partialBegin);
    rows.countB = (rows.fullEnd - rows.fullBegin) * n;
    if (partialEnd == partialBegin)
        return;

    // ceil(T / D) = floor((T + D - 1) / D), stepped row by row without dividing.
    const long long u0 = T(partialBegin) + d - 1;
    long long quotient = FloorDiv(u0, d);
    long long remainder = u0 - quotient * d;
    const long long stepQuotient = FloorDiv(2 * m_dc, d);
    const long long stepRemainder = 2 * m_dc - stepQuotient * d;
    for (int i = 0; i < partialEnd - partialBegin; ++i) {
        const int length = static_cast<int>(quotient);
        rows.partialLengths[i] = length;
        rows.countB += length;
        quotient += stepQuotient;
        remainder += stepRemainder;
        if (remainder >= d) {
            remainder -= d;
            ++quotient;
        }
    }
}
