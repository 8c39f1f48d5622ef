#include "quadtree/SummedTables.h"

std::int32_t CSummedTables::s_gray[kStride * kStride];
std::int64_t CSummedTables::s_squares[kStride * kStride];

void CSummedTables::Refresh() {
    for (int r = 0; r < kPictureSide; ++r) {
        std::int32_t rowGray = 0;
        std::int64_t rowSquares = 0;
        for (int c = 0; c < kPictureSide; ++c) {
            const std::int32_t g = g_grayPixels[r * kPictureSide + c];
            rowGray += g;
            rowSquares += g * g;
            const int at = (r + 1) * kStride + c + 1;
            s_gray[at] = s_gray[at - kStride] + rowGray;
            s_squares[at] = s_squares[at - kStride] + rowSquares;
        }
    }
}
