#include "quadtree/SummedTables.h"

#include <algorithm>

namespace zantrel {

void SummedTables::Build(const GrayPicture& gray) {
    m_width = gray.width;
    m_height = gray.height;
    m_stride = static_cast<std::size_t>(gray.width) + 1;
    const std::size_t entries = m_stride * (static_cast<std::size_t>(gray.height) + 1);
    m_gray.resize(entries);
    m_squares.resize(entries);
    std::fill(m_gray.begin(), m_gray.begin() + m_stride, 0);
    std::fill(m_squares.begin(), m_squares.begin() + m_stride, 0);
    for (int r = 0; r < gray.height; ++r) {
        std::int64_t rowGray = 0;
        std::int64_t rowSquares = 0;
        const std::uint8_t* line = gray.samples.data() + static_cast<std::size_t>(r) * gray.width;
        const std::size_t above = static_cast<std::size_t>(r + 1) * m_stride;
        m_gray[above] = 0;
        m_squares[above] = 0;
        for (int c = 0; c < gray.width; ++c) {
            const std::int64_t g = line[c];
            rowGray += g;
            rowSquares += g * g;
            const std::size_t at = above + c + 1;
            m_gray[at] = m_gray[at - m_stride] + rowGray;
            m_squares[at] = m_squares[at - m_stride] + rowSquares;
        }
    }
}

}  // namespace zantrel
