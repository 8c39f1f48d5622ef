// Exploring a computed picture in the real window: the block under the pointer on the status
// bar, the gray picture while Space is held, and the compare view's pictures, zoom and scroll.

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>
#include <cstdlib>

#include "AppFixture.h"
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/ProgressStatusBar.h"
#include "view/ColorMap.h"
#include "view/CompareView.h"
#include "view/DisplayPicture.h"
#include "view/ZantrelView.h"

namespace zantrel {

namespace {

// Two textured regions on either side of the diagonal: cut blocks along it, one-value blocks
// with some error off it.
std::uint32_t TexturedDiagonal(int row, int col) {
    const std::uint32_t gray = (row > col ? 60 : 190) + ((row ^ col) & 3) * 3;
    return gray * 0x010101;
}

class ViewExplore : public AppTest {
  protected:
    // Opens the picture and runs the stages up to `last`.
    void RunUpTo(int last) {
        m_host.fileAnswers.push_back(WritePicture(QStringLiteral("explore.bmp"), TexturedDiagonal));
        m_host.onExec = AnswerParameters(QStringLiteral("1"), QStringLiteral("4"));
        m_app->InitInstance({});
        for (int id : {ID_OPEN_PICTURE, ID_PICTURE_GRAY, ID_QUADTREE, ID_GRAY_GRID, ID_ZANTREL}) {
            Trigger(id);
            if (id == last)
                return;
        }
    }

    ZantrelView& View() { return m_app->Frame().View(); }
    const DocumentPictures& Pictures() { return Doc().Pictures(); }

    // Moves the pointer over picture pixel (row, col), row 0 at the bottom, scrolled into view.
    void PointAt(int row, int col) {
        ZantrelView& view = View();
        const QPoint inExtent = view.Origin() + QPoint(col, Pictures().Result().height - 1 - row);
        view.horizontalScrollBar()->setValue(inExtent.x() - view.viewport()->width() / 2);
        view.verticalScrollBar()->setValue(inExtent.y() - view.viewport()->height() / 2);
        const QPoint at = inExtent - QPoint(view.horizontalScrollBar()->value(),
                                            view.verticalScrollBar()->value());
        QMouseEvent move(QEvent::MouseMove, at, view.viewport()->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &move);
    }
    QString StatusText() { return m_app->Frame().StatusBar().HoverText(); }

    std::int64_t SquaredError(const QuadBlock& block) {
        std::int64_t sum = 0;
        for (int r = block.row; r < block.row + block.size; ++r) {
            for (int c = block.col; c < block.col + block.size; ++c) {
                const int d = Pictures().Gray().At(r, c) - Pictures().Result().At(r, c);
                sum += d * d;
            }
        }
        return sum;
    }
};

TEST_F(ViewExplore, PointingAtABlockTellsItsModelAndError) {
    RunUpTo(ID_ZANTREL);
    // The largest one-value block with an error, and a cut block.
    const QuadBlock* single = nullptr;
    const QuadBlock* cut = nullptr;
    for (const QuadBlock& block : Pictures().Tree().leaves) {
        if (block.Cut() && !cut)
            cut = &block;
        if (!block.Cut() && SquaredError(block) > 0 && (!single || block.size > single->size))
            single = &block;
    }
    ASSERT_TRUE(single && cut);
    const CutModel& model = *cut->Cut();
    const auto head = [](const QuadBlock& block) {
        return QStringLiteral("块 (行 %1, 列 %2) 大小 %3：")
            .arg(block.row)
            .arg(block.col)
            .arg(block.size);
    };
    struct Case {
        const QuadBlock* block;
        QString text;
    };
    const Case cases[] = {
        {single,
         head(*single) +
             QStringLiteral("单值 %1，平方误差 %2").arg(single->mean).arg(SquaredError(*single))},
        {cut, head(*cut) + QStringLiteral("切割线 (%1, %2)–(%3, %4)，A 侧 %5，B 侧 %6，平方误差 %7")
                               .arg(model.line.first.row)
                               .arg(model.line.first.col)
                               .arg(model.line.second.row)
                               .arg(model.line.second.col)
                               .arg(model.valueA)
                               .arg(model.valueB)
                               .arg(SquaredError(*cut))},
    };
    for (const DisplayMode mode : {DISPLAY_ZANTREL, DISPLAY_GRID_LINES}) {
        View().ShowMode(mode);
        for (const Case& c : cases) {
            // Any pixel of the block: its top-right one here.
            PointAt(c.block->row + c.block->size - 1, c.block->col + c.block->size - 1);
            EXPECT_EQ(StatusText(), c.text) << mode;
        }
    }
    // The colour picture has no blocks; the block text never touched the pane's own text.
    View().ShowMode(DISPLAY_COLOR);
    PointAt(cut->row, cut->col);
    EXPECT_EQ(StatusText(), QString());
    EXPECT_EQ(m_app->Frame().StatusBar().PaneText(), QStringLiteral("解码完毕"));

    // Decoded from its file, the document has no gray picture: the same text without an error.
    const QuadBlock cutBlock = *cut;
    const QString cutText = cases[1].text;
    const QString path = PathInFolder(QStringLiteral("explore.ztl"));
    View().ShowMode(DISPLAY_ZANTREL);
    m_host.fileAnswers.push_back(path);
    Trigger(ID_SAVE_ZTL);
    ASSERT_TRUE(Doc().OpenZtlFile(path));
    PointAt(cutBlock.row, cutBlock.col);
    EXPECT_EQ(StatusText(), cutText.left(cutText.indexOf(QStringLiteral("，平方误差"))));
}

TEST_F(ViewExplore, SpaceShowsTheGrayPictureWhileHeld) {
    RunUpTo(ID_ZANTREL);
    ZantrelView& view = View();
    const auto key = [&](QEvent::Type type, bool autoRepeat) {
        QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), autoRepeat);
        QApplication::sendEvent(&view, &event);
    };
    const QImage gray = DisplayPicture(Pictures(), DISPLAY_GRAY);
    const QImage approximation = DisplayPicture(Pictures(), DISPLAY_ZANTREL);
    ASSERT_NE(gray, approximation);
    key(QEvent::KeyPress, false);
    EXPECT_EQ(view.Image(), gray);
    // The key repeats while held: still gray.
    key(QEvent::KeyRelease, true);
    key(QEvent::KeyPress, true);
    EXPECT_EQ(view.Image(), gray);
    // The mode stays, and with it the commands it offers.
    EXPECT_EQ(Mode(), DISPLAY_ZANTREL);
    EXPECT_TRUE(Action(ID_GRID_LINES).isEnabled());
    key(QEvent::KeyRelease, false);
    EXPECT_EQ(view.Image(), approximation);
}

// Every picture opens as the first one does, at a zoom of 1, whatever the one before was left at.
TEST_F(ViewExplore, AnOpenedPictureStartsAtActualSize) {
    m_app->InitInstance({});
    MainFrame& frame = m_app->Frame();
    ASSERT_TRUE(frame.OpenDocument(WritePng(QStringLiteral("large.png"), 1024, 768)));
    Trigger(ID_VIEW_ZOOM_OUT);
    Trigger(ID_VIEW_ZOOM_OUT);
    Trigger(ID_VIEW_COMPARE);
    Trigger(ID_VIEW_ZOOM_IN);
    CompareView& compare = frame.ComparePanes();
    ASSERT_EQ(View().ZoomStep(), -2);
    ASSERT_EQ(compare.Canvas(1).ZoomStep(), 1);

    ASSERT_TRUE(frame.OpenDocument(WritePicture(QStringLiteral("next.bmp"))));
    EXPECT_EQ(View().ZoomedSize(), QSize(512, 512));
    for (int pane = 0; pane < CompareView::kPanes; ++pane)
        EXPECT_EQ(compare.Canvas(pane).ZoomStep(), 0) << pane;
}

TEST_F(ViewExplore, CompareViewShowsTheComputedPicturesSideBySide) {
    RunUpTo(ID_PICTURE_GRAY);
    Trigger(ID_VIEW_COMPARE);
    MainFrame& frame = m_app->Frame();
    CompareView& compare = frame.ComparePanes();
    ASSERT_TRUE(frame.CompareShown());
    EXPECT_TRUE(Action(ID_VIEW_COMPARE).isChecked());
    // Only what has been computed is offered.
    ASSERT_EQ(compare.Chooser(0).count(), 2);
    EXPECT_EQ(compare.Chooser(0).itemText(1), QStringLiteral("灰度图像"));
    Trigger(ID_VIEW_COMPARE);
    EXPECT_FALSE(frame.CompareShown());

    for (int id : {ID_QUADTREE, ID_GRAY_GRID, ID_ZANTREL})
        Trigger(id);
    Trigger(ID_VIEW_COMPARE);
    const DocumentPictures& pictures = Pictures();
    struct Choice {
        const char* text;
        QImage image;
    };
    const Choice choices[] = {
        {"彩色图像", DisplayPicture(pictures, DISPLAY_COLOR)},
        {"灰度图像", DisplayPicture(pictures, DISPLAY_GRAY)},
        {"四叉树块", GrayImage(pictures.BlockPicture())},
        {"灰度网格", DisplayPicture(pictures, DISPLAY_GRAY_GRID)},
        {"Zantrel 近似", DisplayPicture(pictures, DISPLAY_ZANTREL)},
        {"切割线", ShownPicture(pictures, DISPLAY_GRID_LINES)},
    };
    QComboBox& left = compare.Chooser(0);
    ASSERT_EQ(left.count(), 7);
    for (const Choice& choice : choices) {
        left.setCurrentIndex(left.findText(QString::fromUtf8(choice.text)));
        EXPECT_EQ(compare.Canvas(0).Image(), choice.image) << choice.text;
        EXPECT_TRUE(compare.Scale(0).isHidden()) << choice.text;
    }

    // The second pane starts on the error picture: |gray - result| through the colour map,
    // whose top is the largest error.
    EXPECT_EQ(compare.Chooser(1).currentText(), QStringLiteral("误差 |灰度 − 近似|"));
    int top = 0;
    const GrayPicture& gray = pictures.Gray();
    const GrayPicture& result = pictures.Result();
    for (std::size_t i = 0; i < gray.samples.size(); ++i)
        top = std::max(top, std::abs(gray.samples[i] - result.samples[i]));
    ASSERT_GT(top, 0);
    EXPECT_FALSE(compare.Scale(1).isHidden());
    EXPECT_EQ(compare.ScaleTop(1).text(), QString::number(top));
    const QImage error = compare.Canvas(1).Image();
    const int height = gray.height;
    int mismatches = 0;
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < gray.width; ++c) {
            const int e = std::abs(gray.At(r, c) - result.At(r, c));
            mismatches += error.pixel(c, height - 1 - r) != ColorMapAt(double(e) / top);
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(ColorMapAt(0), qRgb(68, 1, 84));
    EXPECT_EQ(ColorMapAt(1), qRgb(253, 231, 37));

    // Zoom and scroll move both panes together.
    Trigger(ID_VIEW_ZOOM_IN);
    Trigger(ID_VIEW_ZOOM_IN);
    EXPECT_EQ(compare.Canvas(0).ZoomStep(), 2);
    EXPECT_EQ(compare.Canvas(1).ZoomStep(), 2);
    EXPECT_EQ(View().ZoomStep(), 0);
    compare.Canvas(1).horizontalScrollBar()->setValue(300);
    compare.Canvas(1).verticalScrollBar()->setValue(200);
    EXPECT_EQ(compare.Canvas(0).horizontalScrollBar()->value(), 300);
    EXPECT_EQ(compare.Canvas(0).verticalScrollBar()->value(), 200);
}

}  // namespace

}  // namespace zantrel
