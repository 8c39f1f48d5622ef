#include "quadtree/SummedTables.h"

CSummedTables::CSummedTables() : m_gray(kStride * kStride, 0), m_squares(kStride * kStride, 0) {
    for (int r = 0; r < kPictureSide; ++r) {
        std::int64_t rowGray = 0;
        std::int64_t rowSquares = 0;
        for (int c = 0; c < kPictureSide; ++c) {
            const std::int64_t g = g_grayPixels[r * kPictureSide + c];
            rowGray += g;
            rowSquares += g * g;
            const int at = (r + 1) * kStride + c + 1;
            m_gray[at] = m_gray[at - kStride] + rowGray;
            m_squares[at] = m_squares[at - kStride] + rowSquares;
        }
    }
}
