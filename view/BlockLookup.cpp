#include "view/BlockLookup.h"

#include <QCoreApplication>
#include <algorithm>
#include <functional>

namespace zantrel {

namespace {

std::uint64_t Key(std::int32_t row, std::int32_t col, std::int32_t size) {
    return (static_cast<std::uint64_t>(size) << 42) | (static_cast<std::uint64_t>(row) << 21) |
           static_cast<std::uint64_t>(col);
}

// An end point's offset as stored: whole numbers without a fraction.
QString Offset(double value) {
    return QString::number(value, 'g', 10);
}

}  // namespace

void BlockLookup::Build(const DocumentPictures& pictures) {
    m_pictures = &pictures;
    const bool decomposed = !pictures.decomposition.blocks.empty();
    m_blocks = decomposed ? pictures.decomposition.blocks : pictures.quadtree.tree.blocks;
    m_index.clear();
    m_sizes.clear();
    for (std::size_t i = 0; i < m_blocks.size(); ++i) {
        const QuadBlock& block = m_blocks[i];
        m_index.emplace(Key(block.row, block.col, block.size), i);
        m_sizes.push_back(block.size);
    }
    std::ranges::sort(m_sizes, std::greater<>());
    const auto [end, last] = std::ranges::unique(m_sizes);
    m_sizes.erase(end, last);
    m_errors.assign(m_blocks.size(), -1);
}

void BlockLookup::Clear() {
    m_pictures = nullptr;
    m_blocks.clear();
    m_sizes.clear();
    m_index.clear();
    m_errors.clear();
}

const QuadBlock* BlockLookup::Find(int row, int col) const {
    if (row < 0 || col < 0)
        return nullptr;
    // The leaves are aligned to their size, so each size has one candidate.
    for (const std::int32_t size : m_sizes) {
        const auto it = m_index.find(Key(row - row % size, col - col % size, size));
        if (it != m_index.end())
            return &m_blocks[it->second];
    }
    return nullptr;
}

const CutModel* BlockLookup::CutOf(const QuadBlock& block) const {
    const std::vector<CutModel>& models = m_pictures->decomposition.cutModels;
    if (block.modelKind != 1 || block.cutIndex < 0 ||
        static_cast<std::size_t>(block.cutIndex) >= models.size())
        return nullptr;
    return &models[static_cast<std::size_t>(block.cutIndex)];
}

QString BlockLookup::Describe(int row, int col) {
    const QuadBlock* block = Find(row, col);
    if (!block)
        return {};
    QString text = QCoreApplication::translate("BlockLookup", "块 (行 %1, 列 %2) 大小 %3：")
                       .arg(block->row)
                       .arg(block->col)
                       .arg(block->size);
    if (const CutModel* cut = CutOf(*block)) {
        text +=
            QCoreApplication::translate("BlockLookup", "切割线 (%1, %2)–(%3, %4)，A 侧 %5，B 侧 %6")
                .arg(Offset(cut->p1Row), Offset(cut->p1Col), Offset(cut->p2Row), Offset(cut->p2Col))
                .arg(cut->meanA)
                .arg(cut->meanB);
    } else {
        text += QCoreApplication::translate("BlockLookup", "单值 %1").arg(block->mean);
    }
    const GrayPicture& gray = m_pictures->gray;
    const GrayPicture& result = m_pictures->result;
    const bool measurable =
        !gray.samples.empty() && gray.width == result.width && gray.height == result.height &&
        block->row + block->size <= gray.height && block->col + block->size <= gray.width;
    if (measurable) {
        std::int64_t& error = m_errors[static_cast<std::size_t>(block - m_blocks.data())];
        if (error < 0)
            error = BlockSquaredError(gray, result, block->row, block->col, block->size);
        text += QCoreApplication::translate("BlockLookup", "，平方误差 %1").arg(error);
    }
    return text;
}

std::int64_t BlockSquaredError(const GrayPicture& gray, const GrayPicture& result, int row, int col,
                               int size) {
    std::int64_t sum = 0;
    for (int r = row; r < row + size; ++r) {
        for (int c = col; c < col + size; ++c) {
            const int difference = gray.At(r, c) - result.At(r, c);
            sum += difference * difference;
        }
    }
    return sum;
}

}  // namespace zantrel
