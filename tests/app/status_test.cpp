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
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <utility>
#include <vector>

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

class TimeLeftPane : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        m_app->InitInstance({});
        m_app->Frame().show();
        Bar().ShowCancelButton(true);
        QApplication::processEvents();
    }
    ProgressStatusBar& Bar() { return m_app->Frame().StatusBar(); }
};

// The time left appearing, growing or going moves neither the bar nor the cancel button.
TEST_F(TimeLeftPane, ThePanesBesideItKeepTheirPlaces) {
    const auto places = [&] {
        QApplication::processEvents();
        return std::pair(Bar().GetProgressCtrl()->geometry(), Bar().CancelButton()->geometry());
    };
    const auto before = places();
    Bar().SetProgressPos(1);
    QTest::qWait(1100);
    Bar().SetProgressPos(2);
    ASSERT_FALSE(Bar().RemainingText().isEmpty());
    EXPECT_EQ(places(), before) << Bar().RemainingText().toStdString();
    Bar().SetProgressPos(3);
    Bar().ShowCancelButton(false);
    Bar().ShowCancelButton(true);
    EXPECT_EQ(places(), before);
}

// On a loaded machine the speed changes from second to second; the time left still counts
// down with the clock, corrected by at most a tenth of itself within 12 s, and follows a lasting
// change of speed.
TEST_F(TimeLeftPane, TheTimeLeftIsSteady) {
    qint64 now = 0;
    Bar().SetClock([&] { return now; });
    // A 10-minute run: about 0.17 % a second on average, by turns for 15 s at 0.3 and at 1.7
    // times that.
    const auto speedAt = [](qint64 ms) {
        return ((ms / 15000) % 2 == 0 ? 0.3 : 1.7) / 6.0;  // percent a second
    };
    std::vector<std::pair<qint64, qint64>> shown;  // (ms, seconds left)
    double done = 0.0;
    Bar().SetProgressPos(0);
    for (; done < 99.0; now += 100) {
        done += speedAt(now) * 0.1;
        Bar().SetProgressPos(static_cast<int>(done));
        const QString text = Bar().RemainingText();
        if (text.isEmpty())
            continue;
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("约剩 (?:(\\d+) 分 )?(\\d+) 秒")).match(text);
        ASSERT_TRUE(m.hasMatch()) << text.toStdString();
        const qint64 left = m.captured(1).toLongLong() * 60 + m.captured(2).toLongLong();
        if (shown.empty() || shown.back().second != left)
            shown.emplace_back(now, left);
    }
    ASSERT_GT(shown.size(), 50u);
    for (std::size_t a = 0; a < shown.size(); ++a) {
        for (std::size_t b = a + 1; b < shown.size() && shown[b].first - shown[a].first <= 12000;
             ++b) {
            const double counted = shown[a].second - (shown[b].first - shown[a].first) / 1000.0;
            EXPECT_NEAR(shown[b].second, counted, 0.1 * shown[a].second + 2)
                << "from " << shown[a].second << " s at " << shown[a].first << " ms to "
                << shown[b].second << " s at " << shown[b].first << " ms";
        }
    }
    // Half way it is near the truth: the average speed holds.
    for (const auto& [ms, left] : shown) {
        if (ms > now * 2 / 5 && ms < now * 3 / 5) {
            EXPECT_NEAR(left, (now - ms) / 1000.0, 0.15 * (now - ms) / 1000.0) << ms << " ms";
        }
    }
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
