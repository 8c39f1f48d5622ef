#include "linesearch/LineDivision.h"

#include <algorithm>
#include <cstdlib>

namespace zantrel {

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

LineDivision::LineDivision(LatticePoint first, LatticePoint second) {
    if (second.row < first.row)
        std::swap(first, second);
    const long long dr = second.row - first.row;
    const long long dc = second.col - first.col;
    m_rows = {first.row, first.col, dr, dc, 0};

    // Transposed, a column of the block is a row of the line through the swapped points.
    // Where L rises with the row, side B is the part of a column past the line, a suffix:
    // then the prefix, with the centres on the line, is side A.
    const bool rising = dc > 0;
    const LatticePoint low = rising ? first : second;  // the point with the smaller column
    m_columns = {low.col, low.row, std::abs(dc), rising ? dr : -dr, rising ? 1 : 0};
    m_columnPrefixIsB = !rising;
}

int LineDivision::PrefixLength(int r, int n) const {
    // The count of c >= 0 with 2c * dr < T is ceil(T / (2 dr)) when T > 0.
    const long long t = m_rows.T(r);
    if (t <= 0)
        return 0;
    return Clamp(CeilDiv(t, 2 * m_rows.dr), n);
}

void LineDivision::Divide(int n, Prefixes& prefixes) const {
    Walk walk;
    StartWalk(n, walk);
    prefixes.alongColumns = walk.alongColumns;
    prefixes.prefixIsB = walk.prefixIsB;
    prefixes.fullBegin = walk.fullBegin;
    prefixes.fullEnd = walk.fullEnd;
    prefixes.partialBegin = walk.partialBegin;
    prefixes.partialLengths.resize(walk.partialEnd - walk.partialBegin);
    prefixes.prefixCount = (walk.fullEnd - walk.fullBegin) * n;
    for (int& length : prefixes.partialLengths) {
        length = walk.Next();
        prefixes.prefixCount += length;
    }
}

void LineDivision::StartWalk(int n, Walk& walk) const {
    // A line crosses about |dr| rows and |dc| columns of the block.
    walk.alongColumns = std::abs(m_columns.dr) < m_rows.dr;
    walk.prefixIsB = walk.alongColumns ? m_columnPrefixIsB : true;
    StartFrame(walk.alongColumns ? m_columns : m_rows, n, walk);
}

void LineDivision::StartFrame(const Frame& frame, int n, Walk& walk) {
    // A prefix length is ceil(T(r) / D), clamped to 0..n, with D = 2 dr and T linear in r
    // with slope 2 dc. So the full lines form one run at one end, the empty lines a run at
    // the other, and only the lines between need their lengths.
    const long long d = 2 * frame.dr;
    const long long t0 = frame.T(0);
    const long long fullAbove = static_cast<long long>(n - 1) * d;  // T above this: a full line
    int partialBegin = 0;
    int partialEnd = 0;
    if (frame.dc > 0) {
        const long long step = 2 * frame.dc;
        partialBegin = Clamp(FloorDiv(-t0, step) + 1, n);
        partialEnd = std::max(partialBegin, Clamp(FloorDiv(fullAbove - t0, step) + 1, n));
        walk.fullBegin = partialEnd;
        walk.fullEnd = n;
    } else {
        const long long step = -2 * frame.dc;  // never 0: the line crosses rows and columns
        partialEnd = Clamp(CeilDiv(t0, step), n);
        partialBegin = std::min(partialEnd, Clamp(CeilDiv(t0 - fullAbove, step), n));
        walk.fullBegin = 0;
        walk.fullEnd = partialBegin;
    }
    walk.partialBegin = partialBegin;
    walk.partialEnd = partialEnd;
    walk.d = d;
    if (partialEnd == partialBegin)
        return;

    // ceil(T / D) = floor((T + D - 1) / D), stepped line by line without dividing.
    const long long u0 = frame.T(partialBegin) + d - 1;
    walk.quotient = FloorDiv(u0, d);
    walk.remainder = u0 - walk.quotient * d;
    walk.stepQuotient = FloorDiv(2 * frame.dc, d);
    walk.stepRemainder = 2 * frame.dc - walk.stepQuotient * d;
}

}  // namespace zantrel
