#include "measure/BitRate.h"

#include <cmath>
#include <cstdlib>

#include "quadtree/Comparators.h"

namespace zantrel {

double Log2(double x) {
    return std::log10(x) / std::log10(2.0);
}

int SymbolBits(std::uint8_t symbol) {
    return symbol == 0 ? 1 : 1 + static_cast<int>(Log2(symbol));
}

int SymbolClass(std::uint8_t symbol) {
    return symbol == 0 ? 1 : 1 + static_cast<int>(Log2(SymbolBits(symbol)));
}

namespace {

// Lengths of the maximal runs of blocks with an equal `key`, in list order; an empty list
// gives the single length 0.
template <typename Key>
std::vector<std::int32_t> RunLengths(const std::vector<QuadBlock>& blocks, Key key) {
    std::vector<std::int32_t> lengths;
    std::int32_t run = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (i > 0 && key(blocks[i]) != key(blocks[i - 1])) {
            lengths.push_back(run);
            run = 0;
        }
        ++run;
    }
    lengths.push_back(run);
    return lengths;
}

}  // namespace

void SortBlocksInScanOrder(std::vector<QuadBlock>& blocks) {
    // (row, col) is unique, so the order is determined whatever the sort's stability.
    std::qsort(blocks.data(), blocks.size(), sizeof(QuadBlock), CompareByRow);
    const std::vector<std::int32_t> rowGroups =
        RunLengths(blocks, [](const QuadBlock& b) { return b.row; });
    std::size_t start = 0;
    for (std::size_t g = 0; g < rowGroups.size(); ++g) {
        std::qsort(blocks.data() + start, rowGroups[g], sizeof(QuadBlock),
                   g % 2 == 0 ? CompareByCol : CompareByColDesc);
        start += rowGroups[g];
    }
}

double BitRateOfScan(const std::vector<QuadBlock>& scan, const std::vector<CutModel>& cutModels,
                     std::int32_t groupCount, double pixelCount) {
    // Size term: every run of equal block size costs log2 of its length plus log2 N. With no
    // size group at all (N = 0) log2 N has no value; it is taken as 0 so the rate stays a number.
    const double log2Groups = groupCount > 0 ? Log2(groupCount) : 0.0;
    const std::vector<std::int32_t> runLengths =
        RunLengths(scan, [](const QuadBlock& b) { return b.size; });
    double sizeBits = 0.0;
    for (const std::int32_t length : runLengths)
        sizeBits += Log2(length) + log2Groups;

    // Kind term: a run of equal model kind ended by the other kind costs log2(length + 1).
    double kindBits = 0.0;
    int oneValueRun = 0;
    int cutRun = 0;
    for (const QuadBlock& block : scan) {
        if (block.modelKind == 1) {
            kindBits += Log2(oneValueRun + 1);
            oneValueRun = 0;
            ++cutRun;
        } else {
            kindBits += Log2(cutRun + 1);
            cutRun = 0;
            ++oneValueRun;
        }
    }

    // Cut term: log2 of the number of lines a block of its size could have taken.
    double cutBits = 0.0;
    for (const CutModel& model : cutModels) {
        const double s = model.size;
        cutBits += model.size == 2 ? Log2(6) : Log2(6 * s * s - 4 * s);
    }

    // Value differences along the scan, each against the previous block's value.
    std::vector<std::uint8_t> symbols;
    symbols.reserve(scan.size() + cutModels.size());
    int previous = scan.empty() ? 0 : scan.front().mean;
    for (const QuadBlock& block : scan) {
        if (block.modelKind == 1) {
            const CutModel& model = cutModels[block.cutIndex];
            symbols.push_back(static_cast<std::uint8_t>(std::abs(previous - model.meanA)));
            symbols.push_back(static_cast<std::uint8_t>(std::abs(previous - model.meanB)));
            previous = (model.meanA + model.meanB) / 2;
        } else {
            symbols.push_back(static_cast<std::uint8_t>(std::abs(previous - block.mean)));
            previous = block.mean;
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
    return totalBits / pixelCount;
}

double EstimateBitRate(const Decomposition& decomposition, int width, int height) {
    std::vector<QuadBlock> scan = decomposition.blocks;
    SortBlocksInScanOrder(scan);
    return BitRateOfScan(scan, decomposition.cutModels, decomposition.groupCount,
                         static_cast<double>(width) * height);
}

}  // namespace zantrel
