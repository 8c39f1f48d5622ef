// What the user reads fits where it is drawn: the parameter dialog's texts in both languages,
// the rate–distortion plot's labels and points at every curve's range, the picture beside
// the explore dock in a small window, and the dock's fields and plot in either language.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "app/CommandTable.h"
#include "app/ExplorePanel.h"
#include "app/MainFrame.h"
#include "app/RateCurveWidget.h"
#include "view/DecompParamDlg.h"
#include "view/ZantrelView.h"

namespace zantrel {

namespace {

class Layout : public AppTest {};

TEST_F(Layout, TheParameterDialogsTextsFitInBothLanguages) {
    m_app->InitInstance({});
    ASSERT_TRUE(m_app->Frame().OpenDocument(WritePng(QStringLiteral("in.png"), 64, 48)));
    Trigger(ID_PICTURE_GRAY);
    for (const int language : {ID_LANGUAGE_CHINESE, ID_LANGUAGE_ENGLISH}) {
        Trigger(language);
        int checked = 0;
        m_host.onExec = [&](QDialog& dialog) {
            const QRect inside = dialog.rect();
            const QWidget* group = dialog.findChild<QGroupBox*>();
            std::vector<QWidget*> shown;
            for (QLabel* label : dialog.findChildren<QLabel*>())
                shown.push_back(label);
            for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
                shown.push_back(button);
            for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
                shown.push_back(edit);
            for (const QWidget* widget : shown) {
                const std::string name = widget->metaObject()->className() + std::string(" ") +
                                         widget->property("text").toString().toStdString();
                // An edit's hint is a generic width, not its text's.
                if (!qobject_cast<const QLineEdit*>(widget)) {
                    EXPECT_GE(widget->width(), widget->sizeHint().width()) << name;
                    EXPECT_GE(widget->height(), widget->sizeHint().height()) << name;
                }
                EXPECT_TRUE(inside.contains(widget->geometry())) << name;
                const bool inGroup = widget->y() < group->geometry().bottom();
                if (inGroup) {
                    EXPECT_TRUE(group->geometry().contains(widget->geometry())) << name;
                }
                for (const QWidget* other : shown) {
                    if (other != widget) {
                        EXPECT_FALSE(widget->geometry().intersects(other->geometry()))
                            << name << " overlaps "
                            << other->property("text").toString().toStdString();
                    }
                }
                ++checked;
            }
            return static_cast<int>(QDialog::Rejected);
        };
        Trigger(ID_QUADTREE);
        EXPECT_EQ(checked, 8);
    }
}

TEST(RateCurveLayout, LabelsTellTicksApartAndStayInTheWidgetWithThePointsInsideTheFrame) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<std::vector<CurvePoint>> curves = {
        // The sample's ladder, a curve below 0.005 bits per pixel, a near-lossless one, two
        // points close together.
        {{1, 0.2, 29.5}, {10, 0.1, 26.77}, {100, 0.05, 24.2}, {1000, 0.02, 21.28}},
        {{1, 0.004, 31.2}, {10, 0.0021, 30.9}, {100, 0.0008, 30.05}},
        {{0, 7.91, 78.4}, {1, 2.5, 51.0}, {2, 0.9, 40.0}},
        {{5, 0.125, 33.0}, {10, 0.124, 32.9}},
    };
    RateCurveWidget widget;
    for (const QSize size : {widget.minimumSizeHint(), widget.sizeHint(), QSize(520, 400)}) {
        widget.resize(size);
        for (const std::vector<CurvePoint>& curve : curves) {
            widget.SetCurve(curve);
            widget.SetCurrent(curve.front());
            EXPECT_EQ(widget.Message(), QString());
            const std::vector<RateCurveWidget::AxisLabel> labels = widget.Labels();
            for (std::size_t i = 0; i < labels.size(); ++i) {
                EXPECT_TRUE(QRectF(widget.rect()).contains(labels[i].rect))
                    << labels[i].text.toStdString();
                if (i > 0) {
                    EXPECT_NE(labels[i].text, labels[i - 1].text);
                }
            }
            // A point and its ring stay off the frame.
            const QRectF inner = widget.PlotArea().adjusted(6, 6, -6, -6);
            for (const CurvePoint& point : curve)
                EXPECT_TRUE(inner.contains(widget.Position(point)))
                    << point.bitrate << " bpp at " << size.width() << " x " << size.height();
        }
    }

    // A picture every penalty reconstructs exactly (one pixel) has nothing to draw, and says so.
    widget.SetCurve({{1, 24.0, inf}, {10, 24.0, inf}});
    widget.SetCurrent(CurvePoint{1, 24.0, inf});
    EXPECT_NE(widget.Message(), QString());
    widget.SetCurve({});
    EXPECT_NE(widget.Message(), QString());
}

TEST_F(Layout, TheExploreDockScrollsBeforeThePictureIsSqueezed) {
    m_app->InitInstance({});
    MainFrame& frame = m_app->Frame();
    ASSERT_TRUE(frame.OpenDocument(WritePng(QStringLiteral("in.png"), 400, 300)));
    frame.resize(1400, 800);
    frame.show();
    Trigger(ID_VIEW_EXPLORE);
    QApplication::processEvents();
    frame.resize(637, 592);
    QApplication::processEvents();
    EXPECT_GE(frame.View().width(), frame.width() / 2 - 20);
    EXPECT_TRUE(frame.Explore().isVisible());
    // Hidden and shown again in the small window, it still leaves the picture its half.
    Trigger(ID_VIEW_EXPLORE);
    Trigger(ID_VIEW_EXPLORE);
    QApplication::processEvents();
    EXPECT_GE(frame.View().width(), frame.width() / 2 - 20);
}

// The explore dock's fields and its plot show whole, without scrolling, in either language and
// after a switch between them; a short window scrolls the figures under the plot, not the plot.
TEST_F(Layout, TheExploreDocksFieldsAndPlotShowWholeInEitherLanguage) {
    const struct {
        const char* name;
        Language start;
        std::optional<int> switchTo;
        QSize window;
    } cases[] = {
        {"Chinese switched to English", Language::Chinese, ID_LANGUAGE_ENGLISH, {1280, 1024}},
        {"English switched to Chinese", Language::English, ID_LANGUAGE_CHINESE, {1280, 1024}},
        {"English at 800 x 600", Language::English, std::nullopt, {800, 600}},
        {"Chinese at 800 x 600", Language::Chinese, std::nullopt, {800, 600}},
        // 1920 x 1080 at a scale factor of 2.
        {"English at 960 x 540", Language::English, std::nullopt, {960, 540}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_app.reset();
        m_app = std::make_unique<ZantrelApp>(*m_profile, m_host, c.start);
        m_app->InitInstance(WritePng(QStringLiteral("in.png"), 128, 128));
        MainFrame& frame = m_app->Frame();
        frame.showNormal();
        frame.resize(c.window);
        Trigger(ID_PICTURE_GRAY);
        Trigger(ID_VIEW_EXPLORE);
        QApplication::processEvents();
        ExplorePanel& panel = frame.Explore();
        if (c.switchTo) {
            Trigger(*c.switchTo);
            // The texts are laid out, then the dock is fitted to them.
            for (int pass = 0; pass < 3; ++pass)
                QApplication::processEvents();
            // As wide as the new language's texts want, not the old one's.
            EXPECT_EQ(panel.width(), std::min(panel.PreferredWidth(), frame.width() / 2));
        }
        const QWidget& viewport = *static_cast<QScrollArea*>(panel.widget())->viewport();
        const QWidget* const whole[] = {panel.ModeChoice(),       panel.TargetChoice(),
                                        panel.PenaltySlider(),    panel.PenaltyEdit(),
                                        panel.MinBlockSizeEdit(), panel.Curve()};
        for (const QWidget* widget : whole) {
            const QRect shown(widget->mapTo(&viewport, QPoint(0, 0)), widget->size());
            EXPECT_TRUE(viewport.rect().contains(shown))
                << widget->metaObject()->className() << " at " << shown.x() << ", " << shown.y()
                << ", " << shown.width() << " x " << shown.height() << " in " << viewport.width()
                << " x " << viewport.height();
        }
        // Nor do the figures and the parameters line below need the panel to scroll sideways.
        EXPECT_FALSE(static_cast<QScrollArea*>(panel.widget())->horizontalScrollBar()->isVisible());
        EXPECT_GE(frame.View().width(), frame.width() / 2 - 20);
    }
    m_app.reset();
    m_app = std::make_unique<ZantrelApp>(*m_profile, m_host, Language::Chinese);
}

}  // namespace

}  // namespace zantrel
