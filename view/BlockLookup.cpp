#include "view/BlockLookup.h"

#include <QCoreApplication>

namespace zantrel {

namespace {

QString Tr(const char* source) {
    return QCoreApplication::translate("BlockLookup", source);
}

QString LineText(const char* pattern, const CutLine& line) {
    return Tr(pattern)
        .arg(line.first.row)
        .arg(line.first.col)
        .arg(line.second.row)
        .arg(line.second.col);
}

// A ramp as its value at the block's centre and its changes across the block.
QString RampText(const Plane& plane) {
    return Tr(QT_TRANSLATE_NOOP("BlockLookup", "中心 %1，横向 %2，纵向 %3"))
        .arg(plane.centre)
        .arg(plane.gx)
        .arg(plane.gy);
}

QString ModelText(const LeafModel& model) {
    if (const auto* cut = std::get_if<CutModel>(&model)) {
        return LineText(
                   QT_TRANSLATE_NOOP("BlockLookup", "切割线 (%1, %2)–(%3, %4)，A 侧 %5，B 侧 %6"),
                   cut->line)
            .arg(cut->valueA)
            .arg(cut->valueB);
    }
    if (const auto* ramp = std::get_if<PlaneModel>(&model))
        return Tr(QT_TRANSLATE_NOOP("BlockLookup", "斜面：%1")).arg(RampText(ramp->plane));
    if (const auto* planes = std::get_if<CutPlanesModel>(&model)) {
        return LineText(QT_TRANSLATE_NOOP("BlockLookup",
                                          "切割线 (%1, %2)–(%3, %4)，A 侧斜面：%5；B 侧斜面：%6"),
                        planes->line)
            .arg(RampText(planes->a), RampText(planes->b));
    }
    return Tr(QT_TRANSLATE_NOOP("BlockLookup", "单值 %1"))
        .arg(std::get<OneValueModel>(model).value);
}

}  // namespace

void BlockLookup::Build(const DocumentPictures& pictures) {
    m_pictures = &pictures;
    m_tree = &pictures.Tree();
    m_errors.assign(m_tree->leaves.size(), -1);
}

void BlockLookup::Clear() {
    m_pictures = nullptr;
    m_tree = nullptr;
    m_errors.clear();
}

const QuadBlock* BlockLookup::Find(int row, int col) const {
    return m_tree ? m_tree->LeafAt(row, col) : nullptr;
}

QString BlockLookup::Describe(int row, int col) {
    const QuadBlock* block = Find(row, col);
    if (!block)
        return {};
    QString text = QCoreApplication::translate("BlockLookup", "块 (行 %1, 列 %2) 大小 %3：")
                       .arg(block->row)
                       .arg(block->col)
                       .arg(block->size);
    text += ModelText(block->model);
    const GrayPicture& gray = m_pictures->Gray();
    const GrayPicture& result = m_pictures->Result();
    const bool measurable =
        !gray.samples.empty() && gray.width == result.width && gray.height == result.height &&
        block->row + block->size <= gray.height && block->col + block->size <= gray.width;
    if (measurable) {
        std::int64_t& error = m_errors[static_cast<std::size_t>(block - m_tree->leaves.data())];
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
