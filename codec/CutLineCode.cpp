#include "codec/CutLineCode.h"

#include <algorithm>

#include "linesearch/BorderPoints.h"

namespace zantrel {

namespace {

// The indices of a set of border points, as at most three ranges [first, last].
struct IndexRanges {
    int first[3];
    int last[3];
    int count = 0;
    void Add(int a, int b) {
        first[count] = a;
        last[count] = b;
        ++count;
    }
    // Members in [a, b].
    int CountIn(int a, int b) const {
        int total = 0;
        for (int r = 0; r < count; ++r)
            total += std::max(0, std::min(last[r], b) - std::max(first[r], a) + 1);
        return total;
    }
};

// The border points sharing the row, and those sharing the column, of `p` (each holds p).
IndexRanges SameRow(int n, BorderPoint p) {
    IndexRanges set;
    if (p.row == 0) {
        set.Add(0, n);
    } else if (p.row == n) {
        set.Add(n + 1, 2 * n + 1);
    } else {
        set.Add(2 * n + 1 + p.row, 2 * n + 1 + p.row);
        set.Add(3 * n + p.row, 3 * n + p.row);
    }
    return set;
}

IndexRanges SameColumn(int n, BorderPoint p) {
    IndexRanges set;
    if (p.col == 0) {
        set.Add(0, 0);
        set.Add(n + 1, n + 1);
        set.Add(2 * n + 2, 3 * n);
    } else if (p.col == n) {
        set.Add(n, n);
        set.Add(2 * n + 1, 2 * n + 1);
        set.Add(3 * n + 1, 4 * n - 1);
    } else {
        set.Add(p.col, p.col);
        set.Add(n + 1 + p.col, n + 1 + p.col);
    }
    return set;
}

// The two lines that leave side B empty are never tried: (0, 1)-(1, 0) and (n, 1)-(n - 1, 0).
bool IsSkipped(int n, int i, int j) {
    return (i == 1 && j == 2 * n + 2) || (i == n + 2 && j == 3 * n);
}

// Counted lines from point i to the points j with a < j <= b (a >= i).
std::uint32_t LinesFrom(int n, int i, int a, int b) {
    if (b <= a)
        return 0;
    const BorderPoint p = BorderPointAt(n, i);
    int count = (b - a) - SameRow(n, p).CountIn(a + 1, b) - SameColumn(n, p).CountIn(a + 1, b);
    // For n = 2 both skipped lines end at the same point, (1, 0).
    const int skippedEnd = i == 1 ? 2 * n + 2 : 3 * n;
    if (skippedEnd > a && skippedEnd <= b && IsSkipped(n, i, skippedEnd))
        --count;
    return static_cast<std::uint32_t>(count);
}

bool IsCounted(int n, int i, int j) {
    const BorderPoint p = BorderPointAt(n, i);
    const BorderPoint q = BorderPointAt(n, j);
    return p.row != q.row && p.col != q.col && !IsSkipped(n, i, j);
}

}  // namespace

std::uint32_t ObliqueLineCount(int n) {
    const auto m = static_cast<std::uint32_t>(n);
    return 6 * m * m - 6 * m;
}

std::uint32_t ObliqueLineIndex(int n, int i, int j) {
    std::uint32_t index = 0;
    for (int first = 0; first < i; ++first)
        index += LinesFrom(n, first, first, 4 * n - 1);
    return index + LinesFrom(n, i, i, j - 1);
}

BorderPair ObliqueLineAt(int n, std::uint32_t index) {
    int i = 0;
    for (;; ++i) {
        const std::uint32_t lines = LinesFrom(n, i, i, 4 * n - 1);
        if (index < lines)
            break;
        index -= lines;
    }
    int j = i + 1;
    for (;; ++j) {
        if (IsCounted(n, i, j)) {
            if (index == 0)
                break;
            --index;
        }
    }
    return {i, j};
}

std::optional<CutLineCode> EncodeCutLine(const CutModel& model) {
    const int n = model.size;
    auto integral = [](double v) { return static_cast<double>(static_cast<int>(v)) == v; };
    if (n < 2 || !integral(model.p1Row) || !integral(model.p1Col) || !integral(model.p2Row) ||
        !integral(model.p2Col))
        return std::nullopt;
    const int r1 = static_cast<int>(model.p1Row), c1 = static_cast<int>(model.p1Col);
    const int r2 = static_cast<int>(model.p2Row), c2 = static_cast<int>(model.p2Col);
    if (r1 == r2 && c1 == 0 && c2 == n && r1 >= 1 && r1 < n)
        return CutLineCode{CutLineCode::ConstantRow, static_cast<std::uint32_t>(r1 - 1)};
    if (c1 == c2 && r1 == 0 && r2 == n && c1 >= 1 && c1 < n)
        return CutLineCode{CutLineCode::ConstantColumn, static_cast<std::uint32_t>(c1 - 1)};
    const auto i = BorderIndex(n, r1, c1);
    const auto j = BorderIndex(n, r2, c2);
    if (!i || !j || *i >= *j || !IsCounted(n, *i, *j))
        return std::nullopt;
    return CutLineCode{CutLineCode::Oblique, ObliqueLineIndex(n, *i, *j)};
}

void DecodeCutLine(const CutLineCode& code, CutModel& model) {
    const int n = model.size;
    const double p = static_cast<double>(code.index) + 1.0;
    switch (code.kind) {
        case CutLineCode::ConstantRow:
            model.p1Row = model.p2Row = p;
            model.p1Col = 0;
            model.p2Col = n;
            return;
        case CutLineCode::ConstantColumn:
            model.p1Col = model.p2Col = p;
            model.p1Row = 0;
            model.p2Row = n;
            return;
        case CutLineCode::Oblique:
            break;
    }
    const BorderPair pair = ObliqueLineAt(n, code.index);
    const BorderPoint from = BorderPointAt(n, pair.i);
    const BorderPoint to = BorderPointAt(n, pair.j);
    model.p1Row = from.row;
    model.p1Col = from.col;
    model.p2Row = to.row;
    model.p2Col = to.col;
}

}  // namespace zantrel
