#include "measure/BitRate.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace zantrel {

namespace {

// log2 as the estimate computes it: log10(x) / log10(2) in double precision.
double Log2(double x) {
    return std::log10(x) / std::log10(2.0);
}

// Bits of a value-difference symbol: 1 for 0, else the count of significant bits (1..8).
int SymbolBits(std::uint8_t symbol) {
    return symbol == 0 ? 1 : 1 + static_cast<int>(Log2(symbol));
}

// Class of a symbol: 1 for 0 and 1, 2 for 2..7, 3 for 8..127, 4 for 128..255.
int SymbolClass(std::uint8_t symbol) {
    return symbol == 0 ? 1 : 1 + static_cast<int>(Log2(SymbolBits(symbol)));
}

}  // namespace

double EstimateBitRate(const Quadtree& tree, std::int32_t groupCount) {
    const std::vector<std::int32_t> scan = LeavesInScanOrder(tree);
    auto leaf = [&](std::size_t i) -> const QuadBlock& { return tree.leaves[scan[i]]; };

    // Size term: every run of equal block size along the scan costs log2 of its length plus
    // log2 N. With no size group at all (N = 0) log2 N has no value; it is taken as 0 so the
    // rate stays a number.
    const double log2Groups = groupCount > 0 ? Log2(groupCount) : 0.0;
    double sizeBits = 0.0;
    std::int32_t run = 0;
    for (std::size_t i = 0; i < scan.size(); ++i) {
        if (i > 0 && leaf(i).size != leaf(i - 1).size) {
            sizeBits += Log2(run) + log2Groups;
            run = 0;
        }
        ++run;
    }
    sizeBits += Log2(run) + log2Groups;

    // Kind term: a run of equal model kind ended by the other kind costs log2(length + 1).
    double kindBits = 0.0;
    int oneValueRun = 0;
    int cutRun = 0;
    for (std::size_t i = 0; i < scan.size(); ++i) {
        if (leaf(i).Cut()) {
            kindBits += Log2(oneValueRun + 1);
            oneValueRun = 0;
            ++cutRun;
        } else {
            kindBits += Log2(cutRun + 1);
            cutRun = 0;
            ++oneValueRun;
        }
    }

    // Cut term: log2 of the number of lines a block of its size could have taken, summed from
    // the smallest blocks up.
    double cutBits = 0.0;
    for (const std::int32_t i : LeavesBySize(tree)) {
        const QuadBlock& block = tree.leaves[i];
        if (!block.Cut())
            continue;
        const double s = block.size;
        cutBits += block.size == 2 ? Log2(6) : Log2(6 * s * s - 4 * s);
    }

    // Value differences along the scan, each against the previous block's value; the first
    // block is measured against its own one-value mean.
    std::vector<std::uint8_t> symbols;
    symbols.reserve(2 * scan.size());
    int previous = scan.empty() ? 0 : leaf(0).mean;
    for (std::size_t i = 0; i < scan.size(); ++i) {
        if (const CutModel* cut = leaf(i).Cut()) {
            symbols.push_back(static_cast<std::uint8_t>(std::abs(previous - cut->valueA)));
            symbols.push_back(static_cast<std::uint8_t>(std::abs(previous - cut->valueB)));
            previous = cut->Middle();
        } else {
            const int value = std::get<OneValueModel>(leaf(i).model).value;
            symbols.push_back(static_cast<std::uint8_t>(std::abs(previous - value)));
            previous = value;
        }
    }

    double lengthBits = 0.0;
    int classCounts[5] = {};
    for (const std::uint8_t symbol : symbols) {
        lengthBits += SymbolBits(symbol);
        ++classCounts[SymbolClass(symbol)];
    }
    const double m = static_cast<double>(symbols.size());
    double entropy = 0.0;
    for (int k = 1; k <= 4; ++k) {
        if (classCounts[k] == 0)
            continue;
        const double p = classCounts[k] / m;
        entropy -= p * Log2(p);
    }
    const double totalBits = m * entropy + lengthBits + sizeBits + cutBits + kindBits;
    // Per pixel; for 512 x 512 this is T * 3.814697265625e-06 exactly.
    return totalBits / (static_cast<double>(tree.width) * tree.height);
}

}  // namespace zantrel
