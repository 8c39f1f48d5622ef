#include <algorithm>

#include "quadtree/Quadtree.h"

namespace zantrel {

namespace {

enum class Place { Inside, Straddles, Outside };

struct Block {
    std::int32_t row;
    std::int32_t col;
    std::int32_t size;
};

Place PlaceOf(const Block& block, int width, int height) {
    if (block.row >= height || block.col >= width)
        return Place::Outside;
    if (block.row + block.size <= height && block.col + block.size <= width)
        return Place::Inside;
    return Place::Straddles;
}

// A block with its one-value fit and cost; a block across the picture's edge is never
// measured, since it is always split.
struct Measured {
    Block block;
    Place place;
    RegionFit fit{0, 0.0};
    double cost = 0.0;
};

class Decomposer {
  public:
    Decomposer(const SummedTables& sums, double penalty, std::int32_t minBlockSize,
               std::vector<QuadBlock>& leaves)
        : m_sums(sums), m_penalty(penalty), m_minBlockSize(minBlockSize), m_leaves(leaves) {}

    Measured Measure(const Block& block) const {
        Measured m{block, PlaceOf(block, m_sums.Width(), m_sums.Height())};
        if (m.place == Place::Inside) {
            m.fit = MeasureBlock(m_sums, block.row, block.col, block.size);
            m.cost = m.fit.error + m_penalty;
        }
        return m;
    }

    // Decides `parent` and everything below it, appending the leaves depth-first.
    void Examine(const Measured& parent) {
        const std::int32_t h = parent.block.size / 2;
        if (h == 0) {  // a single pixel has no quarters
            AddLeaf(parent);
            return;
        }
        const Block& p = parent.block;
        const Measured quarters[4] = {
            Measure({p.row, p.col, h}),
            Measure({p.row + h, p.col, h}),
            Measure({p.row, p.col + h, h}),
            Measure({p.row + h, p.col + h, h}),
        };
        if (parent.place != Place::Straddles) {
            const double quartersCost =
                ((quarters[0].cost + quarters[1].cost) + quarters[2].cost) + quarters[3].cost;
            if (!(parent.cost > quartersCost)) {
                AddLeaf(parent);
                return;
            }
        }
        for (const Measured& quarter : quarters) {
            if (quarter.place == Place::Outside)
                continue;
            if (quarter.place == Place::Inside && h == m_minBlockSize)
                AddLeaf(quarter);
            else
                Examine(quarter);
        }
    }

  private:
    void AddLeaf(const Measured& m) {
        m_leaves.push_back({m.block.row, m.block.col, m.block.size, m.fit.value, m.fit.error,
                            OneValueModel{m.fit.value}});
    }

    const SummedTables& m_sums;
    double m_penalty;
    std::int32_t m_minBlockSize;
    std::vector<QuadBlock>& m_leaves;
};

// Interleaves the bits of row and column, the row's in the lower place: the depth-first order
// of the leaves is the order of this key of their first pixels.
std::uint32_t SpreadBits(std::uint32_t x) {  // bit k moves to bit 2k, for x < 2^16
    x = (x | (x << 8)) & 0x00FF00FFu;
    x = (x | (x << 4)) & 0x0F0F0F0Fu;
    x = (x | (x << 2)) & 0x33333333u;
    return (x | (x << 1)) & 0x55555555u;
}

std::uint32_t TreeOrderKey(int row, int col) {
    return SpreadBits(static_cast<std::uint32_t>(row)) |
           (SpreadBits(static_cast<std::uint32_t>(col)) << 1);
}

}  // namespace

RegionFit MeasureBlock(const SummedTables& sums, int row, int col, int size) {
    return FitBlock(sums.GraySum(row, col, size, size), sums.SquareSum(row, col, size, size), size);
}

int RootSide(int width, int height) {
    int side = 1;
    while (side < width || side < height)
        side *= 2;
    return side;
}

int Quadtree::RootSide() const {
    return zantrel::RootSide(width, height);
}

Quadtree DecomposeQuadtree(const SummedTables& sums, double penalty, std::int32_t minBlockSize) {
    Quadtree tree;
    tree.width = sums.Width();
    tree.height = sums.Height();
    tree.penalty = penalty;
    tree.minBlockSize = minBlockSize;
    Decomposer decomposer(sums, penalty, minBlockSize, tree.leaves);
    decomposer.Examine(decomposer.Measure({0, 0, tree.RootSide()}));
    return tree;
}

const QuadBlock* Quadtree::LeafAt(int row, int col) const {
    if (row < 0 || col < 0 || row >= height || col >= width)
        return nullptr;
    // The last leaf whose first pixel comes at or before (row, col) in tree order covers it.
    const std::uint32_t key = TreeOrderKey(row, col);
    const auto after = std::upper_bound(leaves.begin(), leaves.end(), key,
                                        [](std::uint32_t k, const QuadBlock& leaf) {
                                            return k < TreeOrderKey(leaf.row, leaf.col);
                                        });
    if (after == leaves.begin())
        return nullptr;
    const QuadBlock& leaf = *std::prev(after);
    const bool covers = row >= leaf.row && row < leaf.row + leaf.size && col >= leaf.col &&
                        col < leaf.col + leaf.size;
    return covers ? &leaf : nullptr;
}

const QuadBlock* Quadtree::Find(int level, int blockRow, int blockCol) const {
    if (level < 0 || level > 14)  // sides 16384 .. 1
        return nullptr;
    const int size = RootSide() >> level;
    const int blocks = size > 0 ? RootSide() / size : 0;
    if (blockRow < 0 || blockCol < 0 || blockRow >= blocks || blockCol >= blocks)
        return nullptr;
    const QuadBlock* leaf = LeafAt(blockRow * size, blockCol * size);
    const bool exact =
        leaf && leaf->size == size && leaf->row == blockRow * size && leaf->col == blockCol * size;
    return exact ? leaf : nullptr;
}

std::vector<std::int32_t> LeavesBySize(const Quadtree& tree) {
    std::vector<std::int32_t> order(tree.leaves.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<std::int32_t>(i);
    std::ranges::stable_sort(order, {}, [&](std::int32_t i) { return tree.leaves[i].size; });
    return order;
}

std::vector<std::int32_t> LeavesInScanOrder(const Quadtree& tree) {
    // Leaves of one first row come in tree order with their columns ascending, so a stable
    // bucketing by row gives the row groups, each already in column order.
    int rows = tree.height;
    for (const QuadBlock& leaf : tree.leaves)
        rows = std::max(rows, leaf.row + 1);
    std::vector<std::int32_t> start(static_cast<std::size_t>(rows) + 1, 0);
    for (const QuadBlock& leaf : tree.leaves)
        ++start[leaf.row + 1];
    for (int r = 0; r < rows; ++r)
        start[r + 1] += start[r];
    std::vector<std::int32_t> order(tree.leaves.size());
    std::vector<std::int32_t> next(start.begin(), start.end() - 1);
    for (std::size_t i = 0; i < tree.leaves.size(); ++i)
        order[next[tree.leaves[i].row]++] = static_cast<std::int32_t>(i);
    // Every other non-empty row group runs backwards.
    bool backwards = false;
    for (int r = 0; r < rows; ++r) {
        if (start[r] == start[r + 1])
            continue;
        if (backwards)
            std::reverse(order.begin() + start[r], order.begin() + start[r + 1]);
        backwards = !backwards;
    }
    return order;
}

}  // namespace zantrel
