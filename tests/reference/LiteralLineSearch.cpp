#include "reference/LiteralLineSearch.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zantrel {

namespace {

struct Fit {
    std::uint8_t value;
    double cost;
};

// What every trial of one search reads.
struct Search {
    const GrayPicture& gray;
    double penalty;
};

Fit FitPixels(const Search& search, const LiteralCut& block,
              const std::vector<LiteralPixel>& pixels) {
    double s = 0.0;
    double q = 0.0;
    for (const LiteralPixel& p : pixels) {
        const double g = search.gray.At(block.row + p.row, block.col + p.col);
        s += g;
        q += g * g / 512.0;
    }
    const double mu = s / static_cast<double>(pixels.size());
    return {static_cast<std::uint8_t>(mu + 0.5), (q - (s * 0.001953125) * mu) + search.penalty};
}

void AxisSearch(const Search& search, std::vector<LiteralCut>& candidates, int first, int m, int n,
                bool rows) {
    for (int k = 0; k < m; ++k) {
        LiteralCut& cand = candidates[first + k];
        double best = cand.cost;
        bool found = false;
        int bestP = 0;
        Fit bestA{}, bestB{};
        for (int p = 1; p <= n - 1; ++p) {
            std::vector<LiteralPixel> a, b;
            for (int r = 0; r < n; ++r) {
                for (int c = 0; c < n; ++c) {
                    const int along = rows ? r : c;
                    (along >= p ? a : b).push_back({r, c});
                }
            }
            const Fit fa = FitPixels(search, cand, a);
            const Fit fb = FitPixels(search, cand, b);
            const double total = fa.cost + fb.cost;
            if (total < best) {
                best = total;
                bestP = p;
                bestA = fa;
                bestB = fb;
                found = true;
            }
        }
        if (!found)
            continue;
        cand.p1Row = rows ? bestP : 0;
        cand.p1Col = rows ? 0 : bestP;
        cand.p2Row = rows ? bestP : n;
        cand.p2Col = rows ? n : bestP;
        cand.meanA = bestA.value;
        cand.meanB = bestB.value;
        cand.cost = best;
        cand.chosen = 1;
    }
}

void ObliqueSearch(const Search& search, std::vector<LiteralCut>& candidates, int first, int m,
                   int n) {
    std::vector<double> rowsOf, colsOf;
    for (int c = 0; c <= n; ++c)
        rowsOf.push_back(0), colsOf.push_back(c);
    for (int c = 0; c <= n; ++c)
        rowsOf.push_back(n), colsOf.push_back(c);
    for (int r = 1; r < n; ++r)
        rowsOf.push_back(r), colsOf.push_back(0);
    for (int r = 1; r < n; ++r)
        rowsOf.push_back(r), colsOf.push_back(n);
    for (int i = 0; i <= 4 * n - 2; ++i) {
        for (int j = i + 1; j <= 4 * n - 1; ++j) {
            if (rowsOf[i] == rowsOf[j] || colsOf[i] == colsOf[j])
                continue;
            const std::vector<bool> sideB =
                LiteralSideB(rowsOf[i], colsOf[i], rowsOf[j], colsOf[j], n);
            std::vector<LiteralPixel> a, b;
            for (int r = 0; r < n; ++r) {
                for (int c = 0; c < n; ++c)
                    (sideB[r * n + c] ? b : a).push_back({r, c});
            }
            if (a.empty() || b.empty())
                continue;
            for (int k = first; k < first + m; ++k) {
                LiteralCut& cand = candidates[k];
                const Fit fa = FitPixels(search, cand, a);
                const Fit fb = FitPixels(search, cand, b);
                const double total = fa.cost + fb.cost;
                if (total < cand.cost) {
                    cand.p1Row = rowsOf[i];
                    cand.p1Col = colsOf[i];
                    cand.p2Row = rowsOf[j];
                    cand.p2Col = colsOf[j];
                    cand.meanA = fa.value;
                    cand.meanB = fb.value;
                    cand.cost = total;
                    cand.chosen = 1;
                }
            }
        }
    }
}

double Log2(double x) {
    return std::log10(x) / std::log10(2.0);
}

}  // namespace

std::vector<bool> LiteralSideB(double row1, double col1, double row2, double col2, int n) {
    std::vector<bool> sideB(static_cast<std::size_t>(n) * n);
    const double t = (col2 - col1) / (row2 - row1);
    const double c0 = col1 - row1 * t;
    for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
            const float line = static_cast<float>(c0 + t * (r + 0.5));
            sideB[r * n + c] = static_cast<float>(c + 0.5) < line;
        }
    }
    return sideB;
}

LiteralDecomposition LiteralSearchLines(const GrayPicture& gray, double penalty,
                                        std::vector<LiteralBlock> blocks) {
    const Search search{gray, penalty};
    // By size; blocks of equal size keep the order they came in.
    std::stable_sort(blocks.begin(), blocks.end(),
                     [](const LiteralBlock& a, const LiteralBlock& b) { return a.size < b.size; });
    std::vector<LiteralCut> candidates;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const LiteralBlock& q = blocks[b];
        if (q.cost > 2 * penalty && q.size > 1) {
            LiteralCut c{};
            c.row = q.row;
            c.col = q.col;
            c.size = q.size;
            c.meanA = c.meanB = q.mean;
            c.cost = q.cost;
            c.blockIndex = static_cast<int>(b);
            candidates.push_back(c);
        }
    }
    std::vector<int> sizes, counts;
    for (const LiteralCut& c : candidates) {
        if (sizes.empty() || sizes.back() != c.size) {
            sizes.push_back(c.size);
            counts.push_back(0);
        }
        ++counts.back();
    }
    LiteralDecomposition out;
    out.groupCount = static_cast<int>(sizes.size());
    int first = 0;
    for (int g = 0; g < out.groupCount; ++g) {
        AxisSearch(search, candidates, first, counts[g], sizes[g], true);
        AxisSearch(search, candidates, first, counts[g], sizes[g], false);
        ObliqueSearch(search, candidates, first, counts[g], sizes[g]);
        first += counts[g];
    }
    for (const LiteralCut& c : candidates) {
        if (c.chosen != 1)
            continue;
        blocks[c.blockIndex].modelKind = 1;
        blocks[c.blockIndex].cutIndex = static_cast<int>(out.cutModels.size());
        out.cutModels.push_back(c);
    }
    out.blocks = std::move(blocks);
    return out;
}

GrayPicture LiteralReconstruct(const GrayPicture& blockPicture,
                               const std::vector<LiteralCut>& cutModels) {
    GrayPicture result = blockPicture;
    const int n = static_cast<int>(cutModels.size());
    for (int i = 0; i < n; ++i) {
        const LiteralCut& m = cutModels[i];
        const auto mid = static_cast<std::uint8_t>((m.meanA + m.meanB) * 0.5);
        for (int j = 0; j < m.size; ++j) {
            for (int k = 0; k < m.size; ++k) {
                std::uint8_t v;
                if (m.p1Row == m.p2Row) {
                    v = j + 0.5 > m.p1Row ? m.meanA : m.meanB;
                } else if (m.p1Col == m.p2Col) {
                    v = k + 0.5 > m.p1Col ? m.meanA : m.meanB;
                } else {
                    const double slope = (m.p2Col - m.p1Col) / (m.p2Row - m.p1Row);
                    const double intercept = m.p1Col - m.p1Row * slope;
                    const float x = static_cast<float>((j + 0.5) * slope + intercept);
                    const float c = static_cast<float>(k + 0.5);
                    v = c > x ? m.meanA : (c == x ? mid : m.meanB);
                }
                result.At(m.row + j, m.col + k) = v;
            }
        }
    }
    return result;
}

double LiteralBitRate(const LiteralDecomposition& decomposition, int width, int height) {
    const std::vector<LiteralCut>& cutModels = decomposition.cutModels;
    // The scan: rows bottom up, columns ascending in even row groups, descending in odd ones.
    std::vector<LiteralBlock> blocks = decomposition.blocks;
    std::sort(blocks.begin(), blocks.end(), [](const LiteralBlock& a, const LiteralBlock& b) {
        return a.row != b.row ? a.row < b.row : a.col < b.col;
    });
    int group = 0;
    for (std::size_t start = 0; start < blocks.size(); ++group) {
        std::size_t end = start;
        while (end < blocks.size() && blocks[end].row == blocks[start].row)
            ++end;
        if (group % 2 == 1)
            std::reverse(blocks.begin() + start, blocks.begin() + end);
        start = end;
    }

    const int groupCount = decomposition.groupCount;
    const double log2N = groupCount > 0 ? Log2(groupCount) : 0.0;
    double S = 0.0;
    int count = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (i > 0 && blocks[i].size != blocks[i - 1].size)
            S += Log2(count) + log2N, count = 0;
        ++count;
    }
    S += Log2(count) + log2N;

    double K = 0.0;
    int a = 0, b = 0;
    for (const LiteralBlock& q : blocks) {
        if (q.modelKind == 1) {
            K += Log2(a + 1), a = 0, ++b;
        } else {
            K += Log2(b + 1), b = 0, ++a;
        }
    }
    double C = 0.0;
    for (const LiteralCut& m : cutModels) {
        const double s = m.size;
        C += m.size == 2 ? Log2(6) : Log2(6 * s * s - 4 * s);
    }
    std::vector<int> symbols;
    int prev = blocks.front().mean;
    for (const LiteralBlock& q : blocks) {
        if (q.modelKind == 1) {
            const LiteralCut& m = cutModels[q.cutIndex];
            symbols.push_back(std::abs(prev - m.meanA));
            symbols.push_back(std::abs(prev - m.meanB));
            prev = (m.meanA + m.meanB) / 2;
        } else {
            symbols.push_back(std::abs(prev - q.mean));
            prev = q.mean;
        }
    }
    double L = 0.0;
    int classes[5] = {};
    for (const int c : symbols) {
        const int bits = c == 0 ? 1 : 1 + static_cast<int>(Log2(c));
        L += bits;
        ++classes[c == 0 ? 1 : 1 + static_cast<int>(Log2(bits))];
    }
    const double m = static_cast<double>(symbols.size());
    double sum = 0.0;
    for (int k = 1; k <= 4; ++k) {
        if (classes[k] > 0)
            sum += (classes[k] / m) * Log2(classes[k] / m);
    }
    const double H = -sum;
    const double T = m * H + L + S + C + K;
    return T / (static_cast<double>(width) * height);
}

double LiteralPsnr(const GrayPicture& gray, const GrayPicture& result) {
    double sum = 0.0;
    for (int r = 0; r < gray.height; ++r) {
        for (int c = 0; c < gray.width; ++c) {
            const double d = static_cast<double>(gray.At(r, c)) - result.At(r, c);
            sum += d * d;
        }
    }
    const double mse = sum / (static_cast<double>(gray.width) * gray.height);
    return 10.0 * std::log10(65025.0 / mse);
}

}  // namespace zantrel
