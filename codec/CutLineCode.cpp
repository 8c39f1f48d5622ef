#include "codec/CutLineCode.h"

#include <algorithm>

#include "linesearch/BorderPoints.h"
#include "linesearch/LineDivision.h"

namespace zantrel {

namespace {

struct BorderPair {
    int i;
    int j;
};

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
IndexRanges SameRow(int n, LatticePoint p) {
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

IndexRanges SameColumn(int n, LatticePoint p) {
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

// The oblique lines the search skips because they leave a side empty. Such a line cuts off
// less than one pixel centre, so it joins the two border points next to a corner; which of
// the four corner lines leave a side empty is what the line division says.
struct SkippedLines {
    BorderPair lines[4];
    int count = 0;

    explicit SkippedLines(int n) {
        const LatticePoint ends[4][2] = {
            {{0, 1}, {1, 0}}, {{0, n - 1}, {1, n}}, {{n, 1}, {n - 1, 0}}, {{n, n - 1}, {n - 1, n}}};
        LineDivision::Prefixes prefixes;
        for (const auto& [p, q] : ends) {
            LineDivision(p, q).Divide(n, prefixes);
            const int countB = prefixes.CountB(n);
            if (countB != 0 && countB != n * n)
                continue;
            const int i = *BorderIndex(n, p.row, p.col);
            const int j = *BorderIndex(n, q.row, q.col);
            lines[count++] = {std::min(i, j), std::max(i, j)};
        }
    }
    bool Contains(int i, int j) const {
        for (int k = 0; k < count; ++k) {
            if (lines[k].i == i && lines[k].j == j)
                return true;
        }
        return false;
    }
};

// Counted lines from point i to the points j with a < j <= b (a >= i).
std::uint32_t LinesFrom(int n, const SkippedLines& skipped, int i, int a, int b) {
    if (b <= a)
        return 0;
    const LatticePoint p = BorderPointAt(n, i);
    int count = (b - a) - SameRow(n, p).CountIn(a + 1, b) - SameColumn(n, p).CountIn(a + 1, b);
    for (int k = 0; k < skipped.count; ++k) {
        const BorderPair line = skipped.lines[k];
        if (line.i == i && line.j > a && line.j <= b)
            --count;
    }
    return static_cast<std::uint32_t>(count);
}

bool IsCounted(int n, const SkippedLines& skipped, int i, int j) {
    const LatticePoint p = BorderPointAt(n, i);
    const LatticePoint q = BorderPointAt(n, j);
    return p.row != q.row && p.col != q.col && !skipped.Contains(i, j);
}

// The index of the oblique line from border point i to border point j (i < j), one of the
// counted lines.
std::uint32_t ObliqueLineIndex(int n, int i, int j) {
    const SkippedLines skipped(n);
    std::uint32_t index = 0;
    for (int first = 0; first < i; ++first)
        index += LinesFrom(n, skipped, first, first, 4 * n - 1);
    return index + LinesFrom(n, skipped, i, i, j - 1);
}

// The border points of oblique line `index` < ObliqueLineCount(n).
BorderPair ObliqueLineAt(int n, std::uint32_t index) {
    const SkippedLines skipped(n);
    int i = 0;
    for (;; ++i) {
        const std::uint32_t lines = LinesFrom(n, skipped, i, i, 4 * n - 1);
        if (index < lines)
            break;
        index -= lines;
    }
    int j = i + 1;
    for (;; ++j) {
        if (IsCounted(n, skipped, i, j)) {
            if (index == 0)
                break;
            --index;
        }
    }
    return {i, j};
}

}  // namespace

std::uint32_t ObliqueLineCount(int n) {
    const auto m = static_cast<std::uint32_t>(n);
    return 6 * m * m - 6 * m;
}

std::optional<CutLineCode> EncodeCutLine(int n, const CutLine& line) {
    if (n < 2)
        return std::nullopt;
    const auto [r1, c1] = line.first;
    const auto [r2, c2] = line.second;
    if (r1 == r2 && c1 == 0 && c2 == n && r1 >= 1 && r1 < n)
        return CutLineCode{CutLineCode::ConstantRow, static_cast<std::uint32_t>(r1 - 1)};
    if (c1 == c2 && r1 == 0 && r2 == n && c1 >= 1 && c1 < n)
        return CutLineCode{CutLineCode::ConstantColumn, static_cast<std::uint32_t>(c1 - 1)};
    const auto i = BorderIndex(n, r1, c1);
    const auto j = BorderIndex(n, r2, c2);
    if (!i || !j || *i >= *j || !IsCounted(n, SkippedLines(n), *i, *j))
        return std::nullopt;
    return CutLineCode{CutLineCode::Oblique, ObliqueLineIndex(n, *i, *j)};
}

CutLine DecodeCutLine(int n, const CutLineCode& code) {
    const int p = static_cast<int>(code.index) + 1;
    switch (code.kind) {
        case CutLineCode::ConstantRow:
            return {{p, 0}, {p, n}};
        case CutLineCode::ConstantColumn:
            return {{0, p}, {n, p}};
        case CutLineCode::Oblique:
            break;
    }
    const BorderPair pair = ObliqueLineAt(n, code.index);
    return {BorderPointAt(n, pair.i), BorderPointAt(n, pair.j)};
}

}  // namespace zantrel
