// The explore panel's rate–distortion plot says what it shows: its axes' titles with their units
// and a legend naming each curve and the current result, in both languages; both modes' curves
// once both are known; a sentence instead of a curve where every penalty gives the same file;
// and the slider's values under its ticks.

#include <QComboBox>
#include <QSlider>
#include <QStringList>
#include <vector>

#include "AppFixture.h"
#include "app/CommandTable.h"
#include "app/ExplorePanel.h"
#include "app/MainFrame.h"
#include "app/RateCurveWidget.h"
#include "app/SliderScale.h"

namespace zantrel {

namespace {

class RateCurve : public AppTest {
  protected:
    ExplorePanel& Panel() { return m_app->Frame().Explore(); }
    RateCurveWidget& Plot() { return *Panel().Curve(); }

    // The explore panel beside a width x height picture's gray picture, its curve computed.
    void StartExploring(int width, int height) {
        m_app->InitInstance(WritePng(QStringLiteral("in.png"), width, height));
        Trigger(ID_PICTURE_GRAY);
        Trigger(ID_VIEW_EXPLORE);
        WaitForIdle();
    }
    // Runs the panel in `mode` and waits for its result and its curve.
    void RunIn(RunMode mode) {
        QComboBox& choice = *Panel().ModeChoice();
        choice.setCurrentIndex(choice.findData(static_cast<int>(mode)));
        WaitForIdle();
    }
};

std::vector<double> Rates(const std::vector<CurvePoint>& curve) {
    std::vector<double> rates;
    for (const CurvePoint& point : curve)
        rates.push_back(point.bitrate);
    return rates;
}

TEST_F(RateCurve, DrawsBothModesCurvesAndNamesThemAndItsAxesInBothLanguages) {
    StartExploring(64, 48);
    RunIn(RunMode::Exact);
    const std::vector<double> exact = Rates(Plot().Curve());
    ASSERT_FALSE(exact.empty());
    EXPECT_TRUE(Plot().OtherCurve().empty());
    RunIn(RunMode::Optimised);
    ASSERT_FALSE(Plot().Curve().empty());
    EXPECT_NE(Rates(Plot().Curve()), exact);
    EXPECT_EQ(Rates(Plot().OtherCurve()), exact);
    ASSERT_TRUE(Plot().Current().has_value());

    const struct {
        int language;
        const char* rate;
        const char* psnr;
        QStringList legend;  // the shown mode's curve, the other mode's, the current result
    } languages[] = {
        {ID_LANGUAGE_ENGLISH,
         "File bit rate (bits/pixel)",
         "PSNR (dB)",
         {QStringLiteral("Optimised"), QStringLiteral("Exact mode"),
          QStringLiteral("Current result")}},
        {ID_LANGUAGE_CHINESE,
         "文件比特率（比特/像素）",
         "PSNR（dB）",
         {QStringLiteral("率失真优化"), QStringLiteral("精确模式"), QStringLiteral("当前结果")}},
    };
    for (const auto& l : languages) {
        Trigger(l.language);
        EXPECT_EQ(Plot().RateTitle(), QString::fromUtf8(l.rate));
        EXPECT_EQ(Plot().PsnrTitle(), QString::fromUtf8(l.psnr));
        EXPECT_EQ(Plot().LegendTexts(), l.legend);
    }

    // The legend sits inside the frame and hides no point.
    const QRectF legend = Plot().LegendArea();
    EXPECT_TRUE(Plot().PlotArea().contains(legend));
    std::vector<CurvePoint> points = Plot().Curve();
    points.insert(points.end(), Plot().OtherCurve().begin(), Plot().OtherCurve().end());
    points.push_back(*Plot().Current());
    for (const CurvePoint& point : points)
        EXPECT_FALSE(legend.contains(Plot().Position(point))) << point.penalty;
}

// One pixel: every penalty gives the same file, in either mode.
TEST_F(RateCurve, OnePixelHasNoCurveInEitherMode) {
    StartExploring(1, 1);
    for (const RunMode mode : {RunMode::Exact, RunMode::Optimised}) {
        SCOPED_TRACE(RunModeName(mode).toStdString());
        RunIn(mode);
        ASSERT_FALSE(Plot().Curve().empty());
        EXPECT_NE(Plot().Message(), QString());
    }
}

TEST_F(RateCurve, TheSlidersTicksTellTheirValuesFromEndToEnd) {
    StartExploring(64, 48);
    const std::vector<SliderScale::Label> labels = Panel().PenaltyScale()->Labels();
    ASSERT_GE(labels.size(), 2u);
    EXPECT_EQ(labels.front().text, QStringLiteral("0.1"));
    EXPECT_EQ(labels.back().text, QStringLiteral("100000"));
    const QRectF inside = Panel().PenaltyScale()->rect();
    for (std::size_t i = 0; i < labels.size(); ++i) {
        EXPECT_TRUE(inside.contains(labels[i].rect))
            << labels[i].text.toStdString() << " at " << labels[i].rect.left() << ", "
            << labels[i].rect.width() << " x " << labels[i].rect.height() << " in "
            << inside.width() << " x " << inside.height();
        if (i > 0) {
            EXPECT_LT(labels[i - 1].rect.right(), labels[i].rect.left());
        }
    }
}

}  // namespace

}  // namespace zantrel
