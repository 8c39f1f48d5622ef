#include <algorithm>

#include "picture/PictureStore.h"
#include "quadtree/BlockLists.h"
#include "quadtree/ImageProcessor.h"
#include "quadtree/SummedTables.h"

namespace {

constexpr std::uint8_t kGridValue = 128;
constexpr std::uint8_t kBackground = 255;

void SetGridSample(int row, int col) {
    g_grayGridPixels[row * kPictureSide + col] = kGridValue;
    g_gridPixels[row * kPictureSide + col] = kGridValue;
}

}  // namespace

std::uint8_t CImageProcessor::MeasureBlock(std::int32_t row, std::int32_t col, std::int32_t size) {
    RefreshSums();
    // Exact integer sums; see SummedTables.h for why they equal the double sums.
    const double s = static_cast<double>(CSummedTables::GraySum(row, col, size, size));
    const double q =
        static_cast<double>(CSummedTables::SquareSum(row, col, size, size)) * 0.001953125;
    const double a = s / size;
    const double m = a / size;
    m_blockError = q - (a * a) * 0.001953125;
    return static_cast<std::uint8_t>(m + 0.5);
}

void CImageProcessor::QuadtreeDecompose(double penalty, std::int32_t minBlockSize) {
    g_blocks.clear();
    g_blocks.shrink_to_fit();
    g_penalty = penalty;
    m_sumsFresh = false;  // the gray picture may be new since the last measurement

    std::fill(std::begin(g_grayGridPixels), std::end(g_grayGridPixels), kBackground);
    std::fill(std::begin(g_gridPixels), std::end(g_gridPixels), kBackground);
    for (int i = 0; i < kPictureSide; ++i) {
        SetGridSample(0, i);
        SetGridSample(kPictureSide - 1, i);
        SetGridSample(i, 0);
        SetGridSample(i, kPictureSide - 1);
    }

    auto measured = [&](std::int32_t row, std::int32_t col, std::int32_t size) {
        QuadBlock block{row, col, size, 0, 0.0, 0, 0};
        block.mean = MeasureBlock(row, col, size);
        block.cost = m_blockError + penalty;
        return block;
    };

    m_workList.clear();
    m_workList.push_back(measured(0, 0, kPictureSide));
    while (!m_workList.empty()) {
        const QuadBlock parent = m_workList.front();
        const std::int32_t h = parent.size / 2;
        if (h == 0) {  // a single pixel has no quarters
            m_workList.pop_front();
            g_blocks.push_back(parent);
            continue;
        }
        const QuadBlock quarters[4] = {
            measured(parent.row, parent.col, h),
            measured(parent.row + h, parent.col, h),
            measured(parent.row, parent.col + h, h),
            measured(parent.row + h, parent.col + h, h),
        };
        const double quartersCost =
            ((quarters[0].cost + quarters[1].cost) + quarters[2].cost) + quarters[3].cost;
        m_workList.pop_front();
        if (!(parent.cost > quartersCost)) {
            g_blocks.push_back(parent);
            continue;
        }
        for (int r = parent.row; r < parent.row + parent.size; ++r)
            SetGridSample(r, parent.col + h);
        for (int c = parent.col; c < parent.col + parent.size; ++c)
            SetGridSample(parent.row + h, c);
        for (const QuadBlock& quarter : quarters) {
            if (h == minBlockSize) {
                g_blocks.push_back(quarter);
            } else {
                m_workList.push_back(quarter);
            }
        }
    }
}
