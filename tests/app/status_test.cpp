// The status bar and the keys a user meets during a run and between pictures: a run's stage
// text stays until it ends, whatever the pointer and the menus do; Esc stops the run from
// anywhere in the window; each picture starts at its top-left corner with a fresh status.

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScrollBar>
#include <QTest>

#include "AppFixture.h"
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/ProgressStatusBar.h"
#include "view/ZantrelView.h"

namespace zantrel {

namespace {

// Texture everywhere: small blocks, so that the search takes long enough to be watched.
std::uint32_t Texture(int row, int col) {
    return static_cast<std::uint32_t>((row * 37 + col * 91 + row * col) & 0xFF) * 0x010101u;
}

class StatusDuringWork : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        m_host.onExec = AnswerParameters(QStringLiteral("1"), QStringLiteral("2"));
        m_host.fileAnswers = {WritePicture(QStringLiteral("a.bmp"), Texture)};
        m_app->InitInstance({});
        for (int id : {ID_OPEN_PICTURE, ID_PICTURE_GRAY, ID_QUADTREE})
            Trigger(id);
    }
    ProgressStatusBar& Bar() { return m_app->Frame().StatusBar(); }
    ZantrelView& View() { return m_app->Frame().View(); }
    // Lets the worker's reports reach the bar.
    void Settle() {
        while (Runs().Busy() && Bar().PaneText() == QStringLiteral("就绪"))
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
};

TEST_F(StatusDuringWork, TheStageTextStaysWhileTheBlockTextHasItsOwnPane) {
    EXPECT_FALSE(Bar().GetProgressCtrl()->isVisibleTo(&Bar()));
    Action(ID_ZANTREL).trigger();
    ASSERT_TRUE(Runs().Busy());
    EXPECT_TRUE(Bar().GetProgressCtrl()->isVisibleTo(&Bar()));
    Settle();
    const QString stage = Bar().PaneText();
    ASSERT_NE(stage, QStringLiteral("就绪"));

    // Over a block of the quadtree shown, off it again, and a menu prompt come and gone.
    QWidget* picture = View().viewport();
    QMouseEvent move(QEvent::MouseMove, QPointF(View().Origin() + QPoint(5, 5)),
                     picture->mapToGlobal(QPointF(View().Origin() + QPoint(5, 5))), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(picture, &move);
    EXPECT_TRUE(Bar().HoverText().startsWith(QStringLiteral("块 (")))
        << Bar().HoverText().toStdString();
    EXPECT_EQ(Bar().currentMessage(), QString());
    EXPECT_TRUE(Runs().Busy());
    EXPECT_EQ(Bar().PaneText(), stage);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(picture, &leave);
    EXPECT_EQ(Bar().HoverText(), QString());
    Bar().showMessage(Action(ID_PICTURE_GRAY).statusTip());
    Bar().clearMessage();
    ASSERT_TRUE(Runs().Busy());
    EXPECT_EQ(Bar().PaneText(), stage);

    WaitForIdle();
    EXPECT_FALSE(Bar().GetProgressCtrl()->isVisibleTo(&Bar()));
}

// After a menu closed by Esc the menu bar keeps the keyboard; the next Esc still stops.
TEST_F(StatusDuringWork, EscStopsTheRunAfterAMenuWasOpenedAndClosed) {
    MainFrame& frame = m_app->Frame();
    frame.show();
    frame.activateWindow();
    QApplication::setActiveWindow(&frame);
    Action(ID_ZANTREL).trigger();
    ASSERT_TRUE(Runs().Busy());
    QMenu* menu = frame.Menus().front();
    frame.menuBar()->setActiveAction(menu->menuAction());
    QApplication::processEvents();
    ASSERT_TRUE(menu->isVisible());
    // Keys as a user types them: the shortcut map sees each first.
    QTest::keyClick(menu, Qt::Key_Escape);
    QApplication::processEvents();
    ASSERT_FALSE(menu->isVisible());
    ASSERT_TRUE(Runs().Busy()) << "the first Esc only closes the menu";
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : &frame, Qt::Key_Escape);
    WaitForIdle();
    EXPECT_FALSE(Doc().Pictures().Decomposed());
}

class NewPicture : public AppTest {};

TEST_F(NewPicture, StartsAtItsTopLeftCornerWithAFreshStatus) {
    m_app->InitInstance({});
    MainFrame& frame = m_app->Frame();
    ZantrelView& view = frame.View();
    ASSERT_TRUE(frame.OpenDocument(WritePng(QStringLiteral("first.png"), 1500, 1200)));
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    ASSERT_GT(view.horizontalScrollBar()->value(), 0);
    frame.StatusBar().SetPaneText("BIT率计算完毕");

    ASSERT_TRUE(frame.OpenDocument(WritePng(QStringLiteral("second.png"), 1400, 1100)));
    EXPECT_EQ(view.horizontalScrollBar()->value(), 0);
    EXPECT_EQ(view.verticalScrollBar()->value(), 0);
    EXPECT_EQ(frame.StatusBar().PaneText(), QStringLiteral("就绪"));
}

}  // namespace

}  // namespace zantrel
