#include "linesearch/CoarseLineSearch.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include "linesearch/BorderPoints.h"
#include "linesearch/LineDivision.h"
#include "linesearch/ParallelFor.h"
#include "linesearch/Threads.h"
#include "quadtree/CutLine.h"
#include "quadtree/RegionFit.h"
#include "quadtree/SummedTables.h"

namespace zantrel {

namespace {

// Blocks up to this side are searched exhaustively; larger ones on a grid of this side.
constexpr int kGridSide = 64;
// How many of the grid's best lines are refined: the best grid line sometimes lies in the
// wrong valley, which one of the next ones avoids.
constexpr int kRefinedLines = 4;
// A block's row prefix sums are kept at every this many columns; a lookup reads at most half
// of them from the picture. A sixteenth of the memory for a few more reads.
constexpr int kCheckpointStep = 16;
// The exhaustively searched blocks are copied into pictures of about this many pixels.
constexpr std::int64_t kTilePixels = std::int64_t{1} << 20;
constexpr double kNoCost = std::numeric_limits<double>::infinity();

struct Sums {
    std::int64_t gray = 0;
    std::int64_t squares = 0;
};

// A row prefix of at most 16384 samples: 16384 * 65025 < 2^31.
struct Checkpoint {
    std::int32_t gray;
    std::int32_t squares;
};

// Gray sum and pixel count of a set of grid cells. Both are integers below 2^53, so exact.
struct Mass {
    double gray = 0;
    double count = 0;
    Mass operator+(const Mass& o) const { return {gray + o.gray, count + o.count}; }
    Mass operator-(const Mass& o) const { return {gray - o.gray, count - o.count}; }
};

// An oblique line of the grid, divided once for every block: its sides as prefixes of the
// grid's rows or columns, as LineDivision gives them.
struct GridLine {
    LatticePoint first;
    LatticePoint second;
    bool alongColumns;
    bool prefixIsB;
    std::int32_t fullBegin;
    std::int32_t fullEnd;
    std::int32_t partialBegin;
    std::int32_t lengthsBegin;  // into GridLines::lengths
    std::int32_t lengthsCount;
};

struct GridLines {
    std::vector<GridLine> lines;
    std::vector<std::uint8_t> lengths;
};

GridLines DivideGridLines() {
    GridLines grid;
    const std::vector<LatticePoint> points = MakeBorderPoints(kGridSide);
    LineDivision::Prefixes prefixes;
    grid.lines.reserve(points.size() * points.size() / 2);
    for (std::size_t i = 0; i < points.size(); ++i) {
        for (std::size_t j = i + 1; j < points.size(); ++j) {
            // Axis-parallel cuts are tried exactly at full resolution.
            if (points[i].row == points[j].row || points[i].col == points[j].col)
                continue;
            LineDivision(points[i], points[j]).Divide(kGridSide, prefixes);
            const int countB = prefixes.CountB(kGridSide);
            if (countB == 0 || countB == kGridSide * kGridSide)
                continue;
            grid.lines.push_back({points[i], points[j], prefixes.alongColumns, prefixes.prefixIsB,
                                  prefixes.fullBegin, prefixes.fullEnd, prefixes.partialBegin,
                                  static_cast<std::int32_t>(grid.lengths.size()),
                                  static_cast<std::int32_t>(prefixes.partialLengths.size())});
            for (const int length : prefixes.partialLengths)
                grid.lengths.push_back(static_cast<std::uint8_t>(length));
        }
    }
    return grid;
}

// One worker's search of one large block at a time; its storage is kept for the next block.
class BlockSearch {
  public:
    BlockSearch(const GrayPicture& gray, const GridLines& grid, const Progress& progress)
        : m_gray(gray), m_grid(grid), m_progress(progress) {}

    // The block's best cut into `best`; false when cancelled.
    bool Run(const LineSearch::Block& block, BestCut& best) {
        m_block = block;
        m_n = block.size;
        if (!Summarise())
            return false;
        double cost = kNoCost;
        SearchAxisCuts(cost, best);
        const std::array<int, kRefinedLines> ranked = RankGridLines();
        for (const int line : ranked) {
            if (line < 0 || m_progress.Cancelled())
                break;
            BestCut cut{};
            const double refined = Refine(m_grid.lines[line], cut);
            if (refined < cost) {
                cost = refined;
                best = cut;
            }
        }
        if (m_progress.Cancelled())
            return false;
        // Ordered like the exhaustive search's lines: the first end point is the earlier one
        // on the border.
        if (best.line.IsOblique() &&
            BorderIndex(m_n, best.line.first.row, best.line.first.col) >
                BorderIndex(m_n, best.line.second.row, best.line.second.col))
            std::swap(best.line.first, best.line.second);
        return true;
    }

  private:
    // One pass over the block's pixels: row and column totals, row checkpoints, grid cells.
    bool Summarise() {
        const int n = m_n;
        const int m = kGridSide;
        m_edges.resize(m + 1);
        for (int i = 0; i <= m; ++i)
            m_edges[i] = static_cast<int>(static_cast<std::int64_t>(i) * n / m);
        m_stride = n / kCheckpointStep + 1;
        const std::size_t checkpoints = static_cast<std::size_t>(n) * m_stride;
        if (checkpoints > m_checkpointCapacity) {
            m_checkpoints.reset(new Checkpoint[checkpoints]);
            m_checkpointCapacity = checkpoints;
        }
        m_rowTotals.resize(n);
        m_columnTotals.assign(n, {});
        m_cells.assign(static_cast<std::size_t>(m) * m, {});
        int cellRow = 0;
        for (int r = 0; r < n; ++r) {
            if (m_progress.Cancelled())
                return false;
            while (r >= m_edges[cellRow + 1])
                ++cellRow;
            const std::uint8_t* pixels = Row(r);
            Checkpoint* rowCheckpoints =
                m_checkpoints.get() + static_cast<std::size_t>(r) * m_stride;
            rowCheckpoints[0] = {0, 0};
            std::int32_t gray = 0;
            std::int32_t squares = 0;
            Mass* cells = m_cells.data() + static_cast<std::size_t>(cellRow) * m;
            for (int j = 0; j < m; ++j) {
                const std::int32_t before = gray;
                for (int c = m_edges[j]; c < m_edges[j + 1]; ++c) {
                    const std::int32_t g = pixels[c];
                    gray += g;
                    squares += g * g;
                    m_columnTotals[c].gray += g;
                    m_columnTotals[c].squares += g * g;
                    if ((c + 1) % kCheckpointStep == 0)
                        rowCheckpoints[(c + 1) / kCheckpointStep] = {gray, squares};
                }
                cells[j].gray += gray - before;
                cells[j].count += m_edges[j + 1] - m_edges[j];
            }
            m_rowTotals[r] = {gray, squares};
        }
        m_total = {};
        for (const Sums& row : m_rowTotals) {
            m_total.gray += row.gray;
            m_total.squares += row.squares;
        }

        // The grid's prefix sums along its rows and its columns, and over whole lines.
        m_gridPrefixes.resize(static_cast<std::size_t>(2) * m * (m + 1));
        m_gridBelow.resize(static_cast<std::size_t>(2) * (m + 1));
        for (int columns = 0; columns < 2; ++columns) {
            Mass* below = m_gridBelow.data() + columns * (m + 1);
            below[0] = {};
            for (int line = 0; line < m; ++line) {
                Mass* prefix = GridPrefixes(columns, line);
                prefix[0] = {};
                for (int k = 0; k < m; ++k) {
                    const Mass& cell = columns ? m_cells[static_cast<std::size_t>(k) * m + line]
                                               : m_cells[static_cast<std::size_t>(line) * m + k];
                    prefix[k + 1] = prefix[k] + cell;
                }
                below[line + 1] = below[line] + prefix[m];
            }
        }
        return true;
    }

    const std::uint8_t* Row(int r) const {
        return m_gray.samples.data() + m_gray.Index(m_block.row + r, m_block.col);
    }
    Mass* GridPrefixes(int columns, int line) {
        return m_gridPrefixes.data() +
               (static_cast<std::size_t>(columns) * kGridSide + line) * (kGridSide + 1);
    }

    // Every cut between two rows, then between two columns, exactly; strictly cheaper wins.
    void SearchAxisCuts(double& cost, BestCut& best) const {
        const int n = m_n;
        for (int columns = 0; columns < 2; ++columns) {
            const std::vector<Sums>& totals = columns ? m_columnTotals : m_rowTotals;
            Sums b;
            for (int p = 1; p < n; ++p) {
                b.gray += totals[p - 1].gray;
                b.squares += totals[p - 1].squares;
                const std::int64_t countB = static_cast<std::int64_t>(p) * n;
                const BestCut cut{columns ? CutLine{{0, p}, {n, p}} : CutLine{{p, 0}, {p, n}},
                                  FitRegion(m_total.gray - b.gray, m_total.squares - b.squares,
                                            static_cast<std::int64_t>(n) * n - countB),
                                  FitRegion(b.gray, b.squares, countB)};
                const double total = cut.a.error + cut.b.error;
                if (total < cost) {
                    cost = total;
                    best = cut;
                }
            }
        }
    }

    // The grid lines whose sides, taken cell by cell, leave the least squared error, best
    // first (-1 for none); the first of equals ranks higher. With the squares' total fixed,
    // that error is least where sum^2 / count over the two sides is greatest.
    std::array<int, kRefinedLines> RankGridLines() {
        const int m = kGridSide;
        std::array<double, kRefinedLines> scores;
        std::array<int, kRefinedLines> ranked;
        scores.fill(-kNoCost);
        ranked.fill(-1);
        const Mass total = m_gridBelow[m];
        const std::uint8_t* allLengths = m_grid.lengths.data();
        for (std::size_t l = 0; l < m_grid.lines.size(); ++l) {
            if (l % 1024 == 0 && m_progress.Cancelled())
                break;
            const GridLine& line = m_grid.lines[l];
            const Mass* below = m_gridBelow.data() + line.alongColumns * (m + 1);
            Mass prefix = below[line.fullEnd] - below[line.fullBegin];
            const Mass* partial = GridPrefixes(line.alongColumns, line.partialBegin);
            const std::uint8_t* lengths = allLengths + line.lengthsBegin;
            for (int k = 0; k < line.lengthsCount; ++k, partial += m + 1)
                prefix = prefix + partial[lengths[k]];
            const Mass b = line.prefixIsB ? prefix : total - prefix;
            const Mass a = total - b;
            const double score = b.gray * b.gray / b.count + a.gray * a.gray / a.count;
            if (!(score > scores[kRefinedLines - 1]))
                continue;
            int place = kRefinedLines - 1;
            for (; place > 0 && score > scores[place - 1]; --place) {
                scores[place] = scores[place - 1];
                ranked[place] = ranked[place - 1];
            }
            scores[place] = score;
            ranked[place] = static_cast<int>(l);
        }
        return ranked;
    }

    // The border's lattice points as one loop, 0 .. 4n - 1, so that an end point can move
    // round a corner.
    int Position(LatticePoint p) const {
        const int n = m_n;
        if (p.row == 0)
            return p.col;
        if (p.col == n)
            return n + p.row;
        if (p.row == n)
            return 3 * n - p.col;
        return 4 * n - p.row;
    }
    LatticePoint PointAt(int t) const {
        const int n = m_n;
        if (t < n)
            return {0, t};
        if (t < 2 * n)
            return {t - n, n};
        if (t < 3 * n)
            return {n, 3 * n - t};
        return {4 * n - t, 0};
    }

    // The sums of the first `end` pixels of row r.
    Sums RowPrefix(int r, int end) const {
        if (end == m_n)
            return m_rowTotals[r];
        const Checkpoint* checkpoints =
            m_checkpoints.get() + static_cast<std::size_t>(r) * m_stride;
        const std::uint8_t* pixels = Row(r);
        const int k = end / kCheckpointStep;
        const int next = (k + 1) * kCheckpointStep;
        std::int64_t gray = 0;
        std::int64_t squares = 0;
        if (end - k * kCheckpointStep <= kCheckpointStep / 2 || next > m_n) {
            gray = checkpoints[k].gray;
            squares = checkpoints[k].squares;
            for (int c = k * kCheckpointStep; c < end; ++c) {
                gray += pixels[c];
                squares += pixels[c] * pixels[c];
            }
        } else {
            gray = checkpoints[k + 1].gray;
            squares = checkpoints[k + 1].squares;
            for (int c = end; c < next; ++c) {
                gray -= pixels[c];
                squares -= pixels[c] * pixels[c];
            }
        }
        return {gray, squares};
    }

    // The oblique line through border positions t1 and t2 with its sides' exact fits, and its
    // cost; no cost for a line along the border, an axis-parallel one or an empty side.
    double Evaluate(int t1, int t2, BestCut& cut) const {
        const CutLine line{PointAt(t1), PointAt(t2)};
        if (!line.IsOblique())
            return kNoCost;
        const CutSides sides(line);
        const int n = m_n;
        Sums b;
        std::int64_t countB = 0;
        for (int r = 0; r < n; ++r) {
            const int end = sides.RowOf(r, n).bEnd;
            const Sums prefix = RowPrefix(r, end);
            countB += end;
            b.gray += prefix.gray;
            b.squares += prefix.squares;
        }
        const std::int64_t all = static_cast<std::int64_t>(n) * n;
        if (countB == 0 || countB == all)
            return kNoCost;
        cut = {line, FitRegion(m_total.gray - b.gray, m_total.squares - b.squares, all - countB),
               FitRegion(b.gray, b.squares, countB)};
        return cut.a.error + cut.b.error;
    }

    // A pattern search from the grid line's end points: both end points move along the border
    // by a step while that pays, the step halving from the cell size down to one pixel.
    double Refine(const GridLine& gridLine, BestCut& best) const {
        const int n = m_n;
        const int loop = 4 * n;
        const auto scaled = [&](LatticePoint p) {
            return LatticePoint{m_edges[p.row], m_edges[p.col]};
        };
        int t1 = Position(scaled(gridLine.first));
        int t2 = Position(scaled(gridLine.second));
        double cost = Evaluate(t1, t2, best);
        static constexpr int kMoves[8][2] = {{-1, 0},  {1, 0},  {0, -1}, {0, 1},
                                             {-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
        for (int step = (n + kGridSide - 1) / kGridSide; step >= 1; step /= 2) {
            for (;;) {
                if (m_progress.Cancelled())
                    return cost;
                int bestMove = -1;
                double moveCost = cost;
                BestCut moveCut{};
                for (int k = 0; k < 8; ++k) {
                    BestCut cut{};
                    const double c = Evaluate((t1 + kMoves[k][0] * step + loop) % loop,
                                              (t2 + kMoves[k][1] * step + loop) % loop, cut);
                    if (c < moveCost) {
                        moveCost = c;
                        moveCut = cut;
                        bestMove = k;
                    }
                }
                if (bestMove < 0)
                    break;
                t1 = (t1 + kMoves[bestMove][0] * step + loop) % loop;
                t2 = (t2 + kMoves[bestMove][1] * step + loop) % loop;
                cost = moveCost;
                best = moveCut;
            }
        }
        return cost;
    }

    const GrayPicture& m_gray;
    const GridLines& m_grid;
    const Progress& m_progress;
    LineSearch::Block m_block{};
    int m_n = 0;
    std::vector<int> m_edges;  // the grid's cell boundaries in block rows and columns
    int m_stride = 1;
    // Per row, the prefix sums of 0, 16, 32 ... columns. Not zeroed when it grows: the pass over
    // the pixels writes every entry and touches the new pages between its checks for a cancel.
    std::unique_ptr<Checkpoint[]> m_checkpoints;
    std::size_t m_checkpointCapacity = 0;
    std::vector<Sums> m_rowTotals;
    std::vector<Sums> m_columnTotals;
    Sums m_total;
    std::vector<Mass> m_cells;         // grid row by grid row
    std::vector<Mass> m_gridPrefixes;  // per grid row, then per grid column, m + 1 prefixes
    std::vector<Mass> m_gridBelow;     // over whole grid rows, then whole grid columns
};

// Small blocks by LineSearch, size by size, copied side by side into pictures of their own so
// that the summed tables cover those blocks only.
bool SearchSmallBlocks(const GrayPicture& gray, std::span<const LineSearch::Block> blocks,
                       std::vector<std::size_t> small, int threads, Progress& progress,
                       std::vector<BestCut>& bests) {
    std::stable_sort(small.begin(), small.end(),
                     [&](std::size_t x, std::size_t y) { return blocks[x].size < blocks[y].size; });
    LineSearchWorkspace workspace;
    SummedTables sums;
    std::vector<LineSearch::Block> tiles;
    for (std::size_t begin = 0; begin < small.size();) {
        const int n = blocks[small[begin]].size;
        const std::size_t perPicture =
            static_cast<std::size_t>(std::max<std::int64_t>(1, kTilePixels / (n * n)));
        std::size_t end = begin;
        while (end < small.size() && end - begin < perPicture && blocks[small[end]].size == n)
            ++end;
        const int count = static_cast<int>(end - begin);
        const int across = static_cast<int>(std::ceil(std::sqrt(count)));
        GrayPicture picture(across * n, (count + across - 1) / across * n);
        tiles.clear();
        for (int t = 0; t < count; ++t) {
            const LineSearch::Block& block = blocks[small[begin + t]];
            const LineSearch::Block tile{t / across * n, t % across * n, n};
            for (int r = 0; r < n; ++r)
                std::copy_n(gray.samples.begin() + gray.Index(block.row + r, block.col), n,
                            picture.samples.begin() + picture.Index(tile.row + r, tile.col));
            tiles.push_back(tile);
        }
        sums.Build(picture);
        LineSearch search(picture, sums, 0.0, workspace, threads, progress);
        const std::optional<std::vector<BestCut>> found = search.Run(tiles);
        if (!found)
            return false;
        for (int t = 0; t < count; ++t)
            bests[small[begin + t]] = (*found)[t];
        begin = end;
    }
    return true;
}

bool SearchLargeBlocks(const GrayPicture& gray, std::span<const LineSearch::Block> blocks,
                       std::vector<std::size_t> large, int threads, Progress& progress,
                       std::vector<BestCut>& bests) {
    if (large.empty())
        return true;
    // The largest first, so that no worker is left with one at the end.
    std::stable_sort(large.begin(), large.end(),
                     [&](std::size_t x, std::size_t y) { return blocks[x].size > blocks[y].size; });
    const GridLines grid = DivideGridLines();
    const int workers = std::min<int>(ResolveThreadCount(threads), static_cast<int>(large.size()));
    std::vector<BlockSearch> searches;
    for (int worker = 0; worker < workers; ++worker)
        searches.emplace_back(gray, grid, progress);
    std::int64_t area = 0;
    for (const std::size_t k : large)
        area += static_cast<std::int64_t>(blocks[k].size) * blocks[k].size;
    std::atomic<std::int64_t> done{0};
    ParallelFor(static_cast<int>(large.size()), workers, [&](int piece, int worker) {
        if (worker == 0)  // the calling thread is the one that may report
            progress.SetPosition(static_cast<int>(100 * done.load() / area));
        const LineSearch::Block& block = blocks[large[piece]];
        if (progress.Cancelled() || !searches[worker].Run(block, bests[large[piece]]))
            return;
        done += static_cast<std::int64_t>(block.size) * block.size;
    });
    return !progress.Cancelled();
}

}  // namespace

std::optional<std::vector<BestCut>> SearchLinesCoarsely(const GrayPicture& gray,
                                                        std::span<const LineSearch::Block> blocks,
                                                        int threads, Progress& progress) {
    std::vector<BestCut> bests(blocks.size());
    std::vector<std::size_t> small;
    std::vector<std::size_t> large;
    for (std::size_t k = 0; k < blocks.size(); ++k)
        (blocks[k].size <= kGridSide ? small : large).push_back(k);
    if (!SearchSmallBlocks(gray, blocks, std::move(small), threads, progress, bests) ||
        !SearchLargeBlocks(gray, blocks, std::move(large), threads, progress, bests))
        return std::nullopt;
    return bests;
}

}  // namespace zantrel
