// What the view puts on the screen, read back pixel by pixel: where a picture of any size sits
// for a given client width, which picture each display mode shows, the cut lines of mode 6, and
// the zoom: every corner reachable, the point under the cursor kept; and what each pane of the
// compare view offers and tells once both modes have run.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <tuple>
#include <utility>

#include "AppFixture.h"
#include "ScriptedDialogHost.h"
#include "app/CommandTable.h"
#include "app/ExplorePanel.h"
#include "app/MainFrame.h"
#include "measure/FigureText.h"
#include "view/ColorMap.h"
#include "view/CompareView.h"
#include "view/ZantrelView.h"

namespace zantrel {

namespace {

// A colour picture whose every pixel tells its own row (< 512) and column (< 1024).
ColorPicture PositionPicture(int width, int height) {
    ColorPicture picture(width, height);
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            std::uint8_t* pixel = picture.Pixel(row, col);
            pixel[0] = static_cast<std::uint8_t>(col & 0xFF);
            pixel[1] = static_cast<std::uint8_t>(0x10 | ((col >> 8) << 5) | ((row >> 8) << 7));
            pixel[2] = static_cast<std::uint8_t>(row & 0xFF);
        }
    }
    return picture;
}

struct Position {
    int row;
    int col;
};

Position PositionOf(QRgb pixel) {
    return {qRed(pixel) + 256 * ((qGreen(pixel) >> 7) & 1),
            qBlue(pixel) + 256 * ((qGreen(pixel) >> 5) & 3)};
}

const QRgb kRed = qRgb(255, 0, 0);

class ViewPixels : public ::testing::Test {
  protected:
    void SetUp() override { m_view.show(); }

    void Load(int width, int height) {
        m_pictures = DocumentPictures();
        m_pictures.content.emplace<PictureStages>().color = PositionPicture(width, height);
        m_view.ShowMode(DISPLAY_COLOR);
    }
    PictureStages& Stages() { return std::get<PictureStages>(m_pictures.content); }

    // Sizes the view so that its client area is `width` wide and tall enough for no
    // vertical scroll bar.
    void Place(int width) {
        m_view.resize(width, 700);
        QApplication::processEvents();
        ASSERT_EQ(m_view.viewport()->width(), width);
    }

    QImage Shot() { return m_view.viewport()->grab().toImage(); }
    QRgb Background() { return m_view.palette().color(QPalette::Base).rgb(); }

    ScriptedDialogHost m_host;
    DocumentPictures m_pictures;
    ZantrelView m_view{m_host, m_pictures};
};

TEST_F(ViewPixels, PictureSitsCentredTenPixelsBelowTheTopAtItsOwnSize) {
    struct Case {
        int pictureWidth;
        int width;
        int originX;  // a picture wider than the client area starts at the left margin
    };
    for (const Case c : {Case{512, 1000, 244}, Case{512, 512, 0}, Case{512, 511, 10},
                         Case{512, 300, 10}, Case{768, 1000, 116}, Case{768, 700, 10}}) {
        SCOPED_TRACE(testing::Message() << c.pictureWidth << " in " << c.width);
        Load(c.pictureWidth, 512);
        Place(c.width);
        EXPECT_EQ(m_view.Origin(), QPoint(c.originX, 10));
        const bool fits = c.pictureWidth <= c.width;
        // The scroll extent is the picture plus 10 on each side; a picture that fits does not
        // scroll sideways.
        EXPECT_EQ(m_view.horizontalScrollBar()->maximum(),
                  fits ? 0 : c.pictureWidth + 20 - c.width);
        const QImage shot = Shot();
        // The top-left pixel on screen is picture row 511 (the top row), column 0.
        const Position corner = PositionOf(shot.pixel(c.originX, 10));
        EXPECT_EQ(corner.row, 511);
        EXPECT_EQ(corner.col, 0);
        EXPECT_EQ(shot.pixel(c.originX, 9), Background());
        if (c.originX > 0) {
            EXPECT_EQ(shot.pixel(c.originX - 1, 10), Background());
        }
        if (fits) {
            EXPECT_EQ(PositionOf(shot.pixel(c.originX + c.pictureWidth - 1, 10)).col,
                      c.pictureWidth - 1);
        }
        if (c.originX + c.pictureWidth < c.width) {
            EXPECT_EQ(shot.pixel(c.originX + c.pictureWidth, 10), Background());
        }
        EXPECT_EQ(PositionOf(shot.pixel(c.originX, 10 + 511)).row, 0);
    }
    // Scrolling moves the picture with the scroll extent, to the right margin at the end.
    Load(512, 512);
    Place(300);
    m_view.horizontalScrollBar()->setValue(50);
    QApplication::processEvents();
    EXPECT_EQ(PositionOf(Shot().pixel(0, 10)).col, 40);
    m_view.horizontalScrollBar()->setValue(m_view.horizontalScrollBar()->maximum());
    QApplication::processEvents();
    EXPECT_EQ(PositionOf(Shot().pixel(300 - 11, 10)).col, 511);
    EXPECT_EQ(Shot().pixel(300 - 10, 10), Background());
}

TEST_F(ViewPixels, GrayModesShowTheirPicturesAsGray) {
    const int width = 300;
    const int height = 200;
    Load(width, height);
    Place(1000);
    const int x0 = (1000 - width) / 2;
    using Put = void (*)(PictureStages & stages, GrayPicture picture);
    struct Case {
        DisplayMode mode;
        Put put;  // makes `picture` the mode's; nullptr: the mode shows white
    };
    const Position probes[] = {{0, 0}, {height - 1, width - 1}, {0, width - 1}, {150, 37}};
    const Put blocks = [](PictureStages& stages, GrayPicture picture) {
        stages.quadtree = std::make_shared<const QuadtreeStage>(
            QuadtreeStage{Quadtree(), GrayPicture(), std::move(picture)});
    };
    const Put grid = [](PictureStages& stages, GrayPicture picture) {
        auto quadtree = std::make_shared<QuadtreeStage>();
        quadtree->grid = std::move(picture);
        stages.quadtree = std::move(quadtree);
    };
    const Put gray = [](PictureStages& stages, GrayPicture picture) {
        stages.gray = std::make_shared<const GrayPicture>(std::move(picture));
    };
    const Put grayGrid = [](PictureStages& stages, GrayPicture picture) {
        stages.grayGrid = std::move(picture);
    };
    const Put reconstruction = [](PictureStages& stages, GrayPicture picture) {
        stages.cutLines = CutLineStage{Decomposition(), std::move(picture)};
    };
    for (const Case c :
         {Case{DISPLAY_GRAY, gray}, Case{DISPLAY_QUADTREE, blocks},
          Case{DISPLAY_GRAY_GRID, grayGrid}, Case{DISPLAY_ZANTREL, reconstruction},
          Case{DISPLAY_GRID_LINES, grid}, Case{static_cast<DisplayMode>(7), nullptr}}) {
        SCOPED_TRACE(c.mode);
        auto value = [&](int r, int col) {
            return c.put ? (r * 3 + col * 5 + c.mode * 40) & 0xFF : 255;
        };
        if (c.put) {
            GrayPicture picture(width, height);
            for (int r = 0; r < height; ++r) {
                for (int col = 0; col < width; ++col)
                    picture.At(r, col) = static_cast<std::uint8_t>(value(r, col));
            }
            c.put(Stages(), std::move(picture));
        }
        m_view.ShowMode(c.mode);
        const QImage shot = Shot();
        for (const Position p : probes) {
            const int v = value(p.row, p.col);
            EXPECT_EQ(shot.pixel(x0 + p.col, 10 + height - 1 - p.row), qRgb(v, v, v))
                << p.row << "," << p.col;
        }
        EXPECT_EQ(shot.pixel(x0 + width, 10), Background());
    }
}

TEST_F(ViewPixels, BeforeALoadOnlyTheBackgroundShows) {
    Place(1000);
    for (const DisplayMode mode : {DISPLAY_NONE, DISPLAY_COLOR}) {
        m_view.ShowMode(mode);
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
    // Not square, so that the lines are placed by the picture's own height.
    const int width = 600;
    const int height = 400;
    Load(width, height);
    Place(1000);
    auto quadtree = std::make_shared<QuadtreeStage>();
    quadtree->grid = GrayPicture(width, height, 255);
    Stages().quadtree = std::move(quadtree);
    CutLineStage& cutLines = Stages().cutLines.emplace();
    cutLines.result = GrayPicture(width, height, 0);
    const int x0 = 200;
    const int y0 = 10;
    auto cut = [](int row, int col, int size, int r1, int c1, int r2, int c2) {
        return QuadBlock{row, col, size, 0, 0.0, CutModel{{{r1, c1}, {r2, c2}}, 0, 0}};
    };
    Quadtree& tree = cutLines.decomposition.tree;
    tree.width = width;
    tree.height = height;
    tree.leaves = {
        cut(0, 0, 8, 4, 0, 4, 8),      // horizontal, left to right
        cut(16, 32, 16, 0, 5, 16, 5),  // vertical, drawn upwards
        cut(64, 64, 8, 0, 0, 8, 8),    // oblique
        cut(128, 128, 8, 8, 8, 0, 0),  // the same slope drawn the other way
        cut(0, 16, 8, 0, 4, 8, 4),     // from the bottom edge: its first pixel lies below
    };
    struct Expectation {
        const char* what;
        int x;
        int y;
        bool red;
    };
    // y = y0 + height - (row + row offset): the end point at row offset 4 of a block at row 0
    // lies on the screen row of picture row 3.
    const int y = y0 + height;
    const Expectation expectations[] = {
        {"horizontal start", x0, y - 4, true},      {"horizontal last", x0 + 7, y - 4, true},
        {"horizontal end", x0 + 8, y - 4, false},   {"vertical start", x0 + 37, y - 16, true},
        {"vertical last", x0 + 37, y - 31, true},   {"vertical end", x0 + 37, y - 32, false},
        {"oblique start", x0 + 64, y - 64, true},   {"oblique middle", x0 + 68, y - 68, true},
        {"oblique end", x0 + 72, y - 72, false},    {"reversed start", x0 + 136, y - 136, true},
        {"reversed end", x0 + 128, y - 128, false}, {"off the lines", x0 + 100, y0 + 100, false},
        {"below the picture", x0 + 20, y, true},    {"bottom row", x0 + 20, y - 1, true},
    };
    m_view.ShowMode(DISPLAY_GRID_LINES);
    const QImage lines = Shot();
    for (const Expectation& e : expectations)
        EXPECT_EQ(lines.pixel(e.x, e.y) == kRed, e.red) << e.what;
    EXPECT_EQ(lines.pixel(x0 + 100, y0 + 100), qRgb(255, 255, 255));

    // Only mode 6 draws them.
    m_view.ShowMode(DISPLAY_ZANTREL);
    const QImage plain = Shot();
    for (const Expectation& e : expectations)
        EXPECT_NE(plain.pixel(e.x, e.y), kRed) << e.what;
}

TEST_F(ViewPixels, EveryCornerCanBeScrolledIntoViewAtEveryZoom) {
    const int width = 1000;
    const int height = 500;
    Load(width, height);
    m_view.resize(200, 150);
    QScrollBar& across = *m_view.horizontalScrollBar();
    QScrollBar& down = *m_view.verticalScrollBar();
    for (const int step : {-2, 4}) {
        m_view.SetZoomStep(step);
        QApplication::processEvents();
        // Below 1 the screen shows every 4th pixel, from the first.
        const int every = step < 0 ? 1 << -step : 1;
        for (const bool right : {false, true}) {
            for (const bool bottom : {false, true}) {
                SCOPED_TRACE(testing::Message() << step << (right ? " right" : " left")
                                                << (bottom ? " bottom" : " top"));
                across.setValue(right ? across.maximum() : 0);
                down.setValue(bottom ? down.maximum() : 0);
                QApplication::processEvents();
                // The corner's screen pixel: the outer one of its square.
                const QSize zoomed = m_view.ZoomedSize();
                const QPoint at =
                    m_view.Origin() - QPoint(across.value(), down.value()) +
                    QPoint(right ? zoomed.width() - 1 : 0, bottom ? zoomed.height() - 1 : 0);
                ASSERT_TRUE(m_view.viewport()->rect().contains(at)) << at.x() << "," << at.y();
                const int col = right ? width - 1 - (width - 1) % every : 0;
                const int fromTop = bottom ? height - 1 - (height - 1) % every : 0;
                const Position shown = PositionOf(Shot().pixel(at));
                EXPECT_EQ(shown.col, col);
                EXPECT_EQ(shown.row, height - 1 - fromTop);
            }
        }
    }
    // Fit picks the largest zoom that fits, the smallest where none does.
    for (const auto& [w, h, step] : {std::tuple{64, 32, 1}, std::tuple{40, 20, 2},
                                     std::tuple{10, 5, 4}, std::tuple{1000, 500, -2}}) {
        Load(w, h);
        m_view.FitToWindow();
        EXPECT_EQ(m_view.ZoomStep(), step) << w << "x" << h;
    }
}

TEST_F(ViewPixels, CtrlWheelZoomsAboutTheCursorAndTheMiddleButtonDrags) {
    Load(1000, 500);
    m_view.resize(400, 300);
    m_view.SetZoomStep(1);
    m_view.horizontalScrollBar()->setValue(700);
    m_view.verticalScrollBar()->setValue(300);
    QApplication::processEvents();
    const QPoint cursor(153, 97);
    const Position before = PositionOf(Shot().pixel(cursor));
    // Up twice, to 8; past 16, which holds; then down to 1.
    for (const auto& [notches, step] :
         {std::pair{1, 2}, std::pair{1, 3}, std::pair{4, 4}, std::pair{-3, 1}, std::pair{-1, 0}}) {
        SCOPED_TRACE(step);
        QWheelEvent wheel(cursor, m_view.viewport()->mapToGlobal(cursor), QPoint(),
                          QPoint(0, 120 * notches), Qt::NoButton, Qt::ControlModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_view.viewport(), &wheel);
        QApplication::processEvents();
        EXPECT_EQ(m_view.ZoomStep(), step);
        const Position after = PositionOf(Shot().pixel(cursor));
        EXPECT_EQ(after.row, before.row);
        EXPECT_EQ(after.col, before.col);
        // Drawn as squares: the neighbours inside the square show the same pixel.
        const int side = 1 << step;
        const QPoint inSquare = m_view.Origin() - QPoint(m_view.horizontalScrollBar()->value(),
                                                         m_view.verticalScrollBar()->value());
        const QPoint corner =
            cursor - QPoint((cursor.x() - inSquare.x()) % side, (cursor.y() - inSquare.y()) % side);
        EXPECT_EQ(Shot().pixel(corner), Shot().pixel(corner + QPoint(side - 1, side - 1)));
        EXPECT_NE(Shot().pixel(corner), Shot().pixel(corner + QPoint(side, side)));
    }

    // The picture follows the pointer while the middle button is down.
    const QPoint start = m_view.Origin() - QPoint(m_view.horizontalScrollBar()->value(),
                                                  m_view.verticalScrollBar()->value());
    const QPoint drag[] = {{200, 150}, {170, 130}, {170, 130}};
    const QEvent::Type types[] = {QEvent::MouseButtonPress, QEvent::MouseMove,
                                  QEvent::MouseButtonRelease};
    for (int i = 0; i < 3; ++i) {
        QMouseEvent event(types[i], drag[i], m_view.viewport()->mapToGlobal(drag[i]),
                          Qt::MiddleButton, i < 2 ? Qt::MiddleButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(m_view.viewport(), &event);
    }
    EXPECT_EQ(m_view.Origin() - QPoint(m_view.horizontalScrollBar()->value(),
                                       m_view.verticalScrollBar()->value()),
              start + QPoint(-30, -20));
}

// Both modes run on one gray picture: each pane offers each mode's approximation and its error
// once, and tells the PSNR and file bit rate of what it shows, as the explore panel gave them.
class ComparePanes : public AppTest {};

TEST_F(ComparePanes, EachModesPictureAndErrorAreOfferedOnceWithTheirFigures) {
    QImage image(96, 80, QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int gray = 3 * y > 2 * x + 10 ? 40 + x : 230 - y - ((x ^ y) & 3);
            image.setPixel(x, y, qRgb(gray, gray, gray));
        }
    }
    const QString path = PathInFolder(QStringLiteral("modes.png"));
    ASSERT_TRUE(image.save(path, "PNG"));
    m_app->InitInstance({});
    m_host.fileAnswers = {path};
    Trigger(ID_IMPORT_PICTURE);
    struct Run {
        GrayPicture result;
        RunFigures figures;
    };
    Trigger(ID_PICTURE_GRAY);
    m_host.onExec = AnswerParameters(QStringLiteral("2"), QStringLiteral("4"));
    Trigger(ID_QUADTREE);
    Trigger(ID_ZANTREL);
    ASSERT_TRUE(Doc().Figures().has_value());
    const Run exact{Doc().Pictures().Result(), *Doc().Figures()};
    Trigger(ID_VIEW_COMPARE);
    CompareView& compare = m_app->Frame().ComparePanes();
    // Each pane on what the other shows at first.
    const QString approximationEntry = QStringLiteral("Zantrel 近似");
    const QString errorEntry = QStringLiteral("误差 |灰度 − 近似|");
    ASSERT_EQ(compare.Chooser(0).currentText(), approximationEntry);
    ASSERT_EQ(compare.Chooser(1).currentText(), errorEntry);
    compare.Chooser(0).setCurrentIndex(compare.Chooser(0).findText(errorEntry));
    compare.Chooser(1).setCurrentIndex(compare.Chooser(1).findText(approximationEntry));
    // The explore panel's other mode: the panes keep showing the current approximation and its
    // error, now under its mode's name.
    m_app->Frame().Explore().ModeChoice()->setCurrentIndex(1);
    WaitForIdle();
    ASSERT_TRUE(Doc().Pictures().Optimised());
    const Run optimised{Doc().Pictures().Result(), *Doc().Figures()};
    EXPECT_EQ(compare.Chooser(0).currentText(), QStringLiteral("误差 |灰度 − 近似（率失真优化）|"));
    EXPECT_EQ(compare.Chooser(1).currentText(), QStringLiteral("Zantrel 近似（率失真优化）"));
    const GrayPicture& gray = Doc().Pictures().Gray();

    // Neither the current approximation nor its error is listed a second time.
    QStringList offered;
    for (int i = 0; i < compare.Chooser(0).count(); ++i)
        offered << compare.Chooser(0).itemText(i);
    EXPECT_EQ(offered,
              (QStringList{"彩色图像", "灰度图像", "四叉树块", "切割线", "Zantrel 近似（精确模式）",
                           "Zantrel 近似（率失真优化）", "误差 |灰度 − 近似（精确模式）|",
                           "误差 |灰度 − 近似（率失真优化）|"}));

    const struct {
        int pane;
        const char* entry;
        const Run& run;
        bool error;
    } cases[] = {
        {0, "Zantrel 近似（精确模式）", exact, false},
        {1, "Zantrel 近似（率失真优化）", optimised, false},
        {0, "误差 |灰度 − 近似（精确模式）|", exact, true},
        {1, "误差 |灰度 − 近似（率失真优化）|", optimised, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        QComboBox& chooser = compare.Chooser(c.pane);
        chooser.setCurrentIndex(chooser.findText(QString::fromUtf8(c.entry)));
        ASSERT_EQ(chooser.currentText(), QString::fromUtf8(c.entry));
        // The choice shows its whole name, however long the figures beside it.
        QCoreApplication::processEvents();
        EXPECT_GE(chooser.width(), chooser.sizeHint().width());
        const QImage shown = compare.Canvas(c.pane).Image();
        int top = 0;
        for (std::size_t i = 0; i < gray.samples.size(); ++i)
            top = std::max(top, std::abs(gray.samples[i] - c.run.result.samples[i]));
        ASSERT_GT(top, 0);
        int mismatches = 0;
        for (int r = 0; r < gray.height; ++r) {
            for (int col = 0; col < gray.width; ++col) {
                const int error = std::abs(gray.At(r, col) - c.run.result.At(r, col));
                const QRgb expected = c.error
                                          ? ColorMapAt(double(error) / top)
                                          : qRgb(c.run.result.At(r, col), c.run.result.At(r, col),
                                                 c.run.result.At(r, col));
                mismatches += shown.pixel(col, gray.height - 1 - r) != expected;
            }
        }
        EXPECT_EQ(mismatches, 0);
        EXPECT_EQ(compare.Scale(c.pane).isHidden(), !c.error);
        const QString psnr = QString::fromStdString(FormatFigure(c.run.figures.psnr));
        const QString rate = QString::fromStdString(FormatFigure(c.run.figures.fileBitrate));
        EXPECT_EQ(compare.Figures(c.pane).text(),
                  QStringLiteral("PSNR %1 dB，文件比特率 %2 比特/像素").arg(psnr, rate));
        Trigger(ID_LANGUAGE_ENGLISH);
        EXPECT_EQ(compare.Figures(c.pane).text(),
                  QStringLiteral("PSNR %1 dB, file bit rate %2 bits/pixel").arg(psnr, rate));
        Trigger(ID_LANGUAGE_CHINESE);
    }
    // A picture that is no result tells nothing.
    compare.Chooser(0).setCurrentIndex(0);
    EXPECT_EQ(compare.Figures(0).text(), QString());
}

}  // namespace

}  // namespace zantrel
