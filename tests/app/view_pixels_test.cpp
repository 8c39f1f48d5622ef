// What the view puts on the screen, read back pixel by pixel: where the picture sits for a
// given client width, which buffer each display mode shows, and the cut lines of mode 6.

#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <algorithm>

#include "ScriptedDialogHost.h"
#include "picture/BmpReader.h"
#include "picture/PictureStore.h"
#include "quadtree/BlockLists.h"
#include "support/TestPictures.h"
#include "view/ZantrelView.h"

namespace {

// A colour picture whose every pixel tells its own row and column.
std::uint32_t PositionColour(int row, int col) {
    const std::uint32_t blue = col & 0xFF;
    const std::uint32_t red = row & 0xFF;
    const std::uint32_t green = 0x10 | ((col >> 8) << 6) | ((row >> 8) << 7);
    return blue | (green << 8) | (red << 16);
}

struct Position {
    int row;
    int col;
};

Position PositionOf(QRgb pixel) {
    return {qRed(pixel) + 256 * ((qGreen(pixel) >> 7) & 1),
            qBlue(pixel) + 256 * ((qGreen(pixel) >> 6) & 1)};
}

const QRgb kRed = qRgb(255, 0, 0);

class ViewPixels : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetStore();
        m_view.show();
    }

    void LoadPositionPicture() {
        ASSERT_EQ(LoadPictureBytes(MakeBmpBytes(PositionColour)), LoadResult::Loaded);
    }

    // Sizes the view so that its client area is `width` wide and tall enough for no
    // vertical scroll bar.
    void Place(int width) {
        m_view.resize(width, 700);
        QApplication::processEvents();
        ASSERT_EQ(m_view.viewport()->width(), width);
    }

    QImage Shot() { return m_view.viewport()->grab().toImage(); }
    QRgb Background() { return m_view.palette().color(QPalette::Base).rgb(); }

    CScriptedDialogHost m_host;
    CZantrelView m_view{m_host};
};

TEST_F(ViewPixels, PictureSitsCentredTenPixelsBelowTheTop) {
    LoadPositionPicture();
    struct Case {
        int width;
        int originX;
    };
    for (const Case c : {Case{1000, 244}, Case{511, 0}, Case{300, -106}}) {
        SCOPED_TRACE(c.width);
        Place(c.width);
        EXPECT_EQ(g_originX, c.originX);
        EXPECT_EQ(g_originY, 10);
        const QImage shot = Shot();
        // The top-left pixel on screen is picture row 511 (the top row) at the first column
        // that is not cut off on the left.
        const Position corner = PositionOf(shot.pixel(std::max(0, c.originX), 10));
        EXPECT_EQ(corner.row, 511);
        EXPECT_EQ(corner.col, std::max(0, -c.originX));
        EXPECT_EQ(shot.pixel(std::max(0, c.originX), 9), Background());
        if (c.originX > 0) {
            EXPECT_EQ(shot.pixel(c.originX - 1, 10), Background());
        }
        const Position lowest = PositionOf(shot.pixel(std::max(0, c.originX), 10 + 511));
        EXPECT_EQ(lowest.row, 0);
    }
    // Scrolling moves the picture with the scroll extent.
    m_view.horizontalScrollBar()->setValue(50);
    QApplication::processEvents();
    EXPECT_EQ(PositionOf(Shot().pixel(0, 10)).col, 106 + 50);
}

TEST_F(ViewPixels, GrayModesShowTheirBuffersAsGray) {
    LoadPositionPicture();
    Place(1000);
    struct Case {
        DisplayMode mode;
        std::uint8_t* buffer;  // nullptr: the mode shows a white square
    };
    const Position probes[] = {{0, 0}, {511, 511}, {0, 511}, {200, 37}};
    for (const Case c :
         {Case{DISPLAY_GRAY, g_grayPixels}, Case{DISPLAY_QUADTREE, g_resultPixels},
          Case{DISPLAY_GRAY_GRID, g_grayGridPixels}, Case{DISPLAY_ZANTREL, g_resultPixels},
          Case{DISPLAY_GRID_LINES, g_gridPixels}, Case{static_cast<DisplayMode>(7), nullptr}}) {
        SCOPED_TRACE(c.mode);
        auto value = [&](int r, int col) {
            return c.buffer ? (r * 3 + col * 5 + c.mode * 40) & 0xFF : 255;
        };
        for (int r = 0; c.buffer && r < kPictureSide; ++r) {
            for (int col = 0; col < kPictureSide; ++col)
                c.buffer[r * kPictureSide + col] = static_cast<std::uint8_t>(value(r, col));
        }
        g_displayMode = c.mode;
        const QImage shot = Shot();
        for (const Position p : probes) {
            const int v = value(p.row, p.col);
            EXPECT_EQ(shot.pixel(244 + p.col, 10 + 511 - p.row), qRgb(v, v, v))
                << p.row << "," << p.col;
        }
    }
}

TEST_F(ViewPixels, BeforeALoadOnlyTheBackgroundShows) {
    Place(1000);
    for (const DisplayMode mode : {DISPLAY_NONE, DISPLAY_COLOR}) {
        g_displayMode = mode;
        const QImage shot = Shot();
        int others = 0;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x)
                others += shot.pixel(x, y) != Background();
        }
        EXPECT_EQ(others, 0) << mode;
    }
}

TEST_F(ViewPixels, CutLinesAreRedAndLeaveTheirEndPointOut) {
    LoadPositionPicture();
    Place(1000);
    std::fill(std::begin(g_gridPixels), std::end(g_gridPixels), std::uint8_t{255});
    const int x0 = 244;
    const int y0 = 10;
    auto cut = [](int row, int col, int size, double r1, double c1, double r2, double c2) {
        return CutModel{row, col, size, r1, c1, r2, c2, 0, 0, 0.0, 1, 0};
    };
    g_cutModels = {
        cut(0, 0, 8, 4, 0, 4, 8),      // horizontal, left to right
        cut(16, 32, 16, 0, 5, 16, 5),  // vertical, drawn upwards
        cut(64, 64, 8, 0, 0, 8, 8),    // oblique
        cut(128, 128, 8, 8, 8, 0, 0),  // the same slope drawn the other way
    };
    struct Expectation {
        const char* what;
        int x;
        int y;
        bool red;
    };
    const Expectation expectations[] = {
        // y = y0 + 512 - (row + row offset): the end point at row offset 4 of a block at
        // row 0 lies on the screen row of picture row 3.
        {"horizontal start", x0, y0 + 508, true},    {"horizontal last", x0 + 7, y0 + 508, true},
        {"horizontal end", x0 + 8, y0 + 508, false}, {"vertical start", x0 + 37, y0 + 496, true},
        {"vertical last", x0 + 37, y0 + 481, true},  {"vertical end", x0 + 37, y0 + 480, false},
        {"oblique start", x0 + 64, y0 + 448, true},  {"oblique middle", x0 + 68, y0 + 444, true},
        {"oblique end", x0 + 72, y0 + 440, false},   {"reversed start", x0 + 136, y0 + 376, true},
        {"reversed end", x0 + 128, y0 + 384, false}, {"off the lines", x0 + 100, y0 + 100, false},
    };
    g_displayMode = DISPLAY_GRID_LINES;
    const QImage lines = Shot();
    for (const Expectation& e : expectations)
        EXPECT_EQ(lines.pixel(e.x, e.y) == kRed, e.red) << e.what;
    EXPECT_EQ(lines.pixel(x0 + 100, y0 + 100), qRgb(255, 255, 255));

    // Only mode 6 draws them.
    g_displayMode = DISPLAY_ZANTREL;
    const QImage plain = Shot();
    for (const Expectation& e : expectations)
        EXPECT_NE(plain.pixel(e.x, e.y), kRed) << e.what;
}

}  // namespace
