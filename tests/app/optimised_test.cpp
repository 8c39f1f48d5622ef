// The optimised mode in the desktop: the menu's run is the engine's, a slider move only prunes
// again, the pictures, hover texts, saving and comparing follow the optimised tree, and a
// version 2 file opens.

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <functional>
#include <set>

#include "AppFixture.h"
#include "app/CommandTable.h"
#include "app/ExplorePanel.h"
#include "app/MainFrame.h"
#include "app/StageRuns.h"
#include "codec/ZtlFile.h"
#include "linesearch/CutLineOverlay.h"
#include "measure/FigureText.h"
#include "measure/RunFigures.h"
#include "optimise/Optimiser.h"
#include "quadtree/GridPictures.h"
#include "support/TestPictures.h"
#include "view/BlockLookup.h"
#include "view/CompareView.h"
#include "view/DecompParamDlg.h"
#include "view/DisplayPicture.h"

namespace zantrel {

namespace {

constexpr int kWidth = 96;
constexpr int kHeight = 80;

// Two ramps split by a slanting edge, with a little texture: ramps, cut lines and both.
QImage RampsAndEdge() {
    QImage image(kWidth, kHeight, QImage::Format_RGB888);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int gray = 3 * y > 2 * x + 10 ? 40 + x : 230 - y - ((x ^ y) & 3);
            image.setPixel(x, y, qRgb(gray, gray, gray));
        }
    }
    return image;
}

OptimisedRun EngineRun(const GrayPicture& gray, double penalty, std::int32_t minBlockSize) {
    const SummedTables sums(gray);
    OptimiseSettings settings;
    settings.search.minBlockSize = minBlockSize;
    QuietProgress quiet;
    std::optional<Optimiser> optimiser = Optimiser::Search(gray, sums, settings, quiet);
    EXPECT_TRUE(optimiser.has_value());
    return optimiser->Run(penalty);
}

class Optimised : public AppTest {
  protected:
    void ImportAndGray() {
        const QString path = PathInFolder(QStringLiteral("ramps.png"));
        ASSERT_TRUE(RampsAndEdge().save(path, "PNG"));
        m_app->InitInstance({});
        m_host.fileAnswers = {path};
        Trigger(ID_IMPORT_PICTURE);
        Trigger(ID_PICTURE_GRAY);
    }
    ExplorePanel& Panel() { return m_app->Frame().Explore(); }
    // Whether the panel shows the row of the ramp count.
    bool RampsShown() {
        for (const QLabel* label : Panel().findChildren<QLabel*>()) {
            if (label->text() == QStringLiteral("斜面数"))
                return label->isVisibleTo(&Panel());
        }
        return false;
    }
    const OptimiserCache& Cache() { return m_app->Frame().Runs().Optimised(); }
};

TEST_F(Optimised, TheMenuRunIsTheEnginesAndEverythingFollowsItsTree) {
    ImportAndGray();
    // The exact mode first, for the comparison.
    m_host.onExec = AnswerParameters(QStringLiteral("2"), QStringLiteral("4"));
    Trigger(ID_QUADTREE);
    Trigger(ID_ZANTREL);
    const GrayPicture exact = Doc().Pictures().Result();
    EXPECT_FALSE(Doc().Pictures().Optimised());
    EXPECT_FALSE(RampsShown());

    for (int id : {ID_PICTURE_COLOR, ID_PICTURE_GRAY})
        Trigger(id);
    m_host.onExec = AnswerParameters(QStringLiteral("2"), QStringLiteral("4"), RunMode::Optimised);
    Trigger(ID_QUADTREE);
    EXPECT_EQ(Panel().Mode(), RunMode::Optimised);
    Trigger(ID_ZANTREL);
    ASSERT_EQ(Mode(), DISPLAY_ZANTREL);
    const OptimisedRun run = EngineRun(Doc().Pictures().Gray(), 2, 4);
    const DocumentPictures& pictures = Doc().Pictures();
    EXPECT_TRUE(pictures.Optimised());
    EXPECT_EQ(pictures.Tree(), run.tree);
    EXPECT_EQ(pictures.Result(), run.result);
    EXPECT_EQ(pictures.Grid(), DrawGrid(run.tree));
    ASSERT_TRUE(Doc().Figures().has_value());
    EXPECT_EQ(Doc().Figures()->fileBitrate, FileBitsPerPixel(run));
    EXPECT_EQ(Doc().BitRateFigure(), Doc().Figures()->bitrate);
    EXPECT_GT(Doc().Figures()->ramps, 0u);
    EXPECT_TRUE(RampsShown());

    // The file from the cut lines: version 2, exactly the engine's.
    Trigger(ID_GRID_LINES);
    ASSERT_EQ(Mode(), DISPLAY_GRID_LINES);
    const QString saved = PathInFolder(QStringLiteral("optimised.ztl"));
    m_host.fileAnswers = {saved};
    Trigger(ID_SAVE_ZTL);
    EXPECT_EQ(ReadBytes(saved.toStdString()), run.file);
    EXPECT_EQ(run.file.at(4), kZtlOptimisedVersion);

    // Both modes side by side in the compare view.
    m_app->Frame().ToggleCompareView();
    CompareView& compare = m_app->Frame().ComparePanes();
    const struct {
        ComparedPicture picture;
        const GrayPicture& result;
    } panes[] = {{ComparedPicture::ExactApproximation, exact},
                 {ComparedPicture::OptimisedApproximation, run.result}};
    for (int pane = 0; pane < CompareView::kPanes; ++pane) {
        EXPECT_EQ(compare.Chooser(pane).currentData().toInt(),
                  static_cast<int>(panes[pane].picture));
        EXPECT_TRUE(MakeComparedImage(pictures, panes[pane].picture).image ==
                    GrayImage(panes[pane].result));
    }
    EXPECT_TRUE(m_host.messages.empty());
}

// The search is kept per gray picture and minimum block size: the rest only prunes again.
TEST_F(Optimised, OnlyANewPictureOrBlockSizeSearchesAgain) {
    ImportAndGray();
    Panel().ModeChoice()->setCurrentIndex(1);
    WaitForIdle();
    ASSERT_TRUE(Doc().Pictures().Optimised());
    EXPECT_EQ(Cache().searches, 1);
    const struct {
        const char* change;
        std::function<void()> make;
        int searches;
    } cases[] = {
        {"penalty", [&] { Panel().PenaltySlider()->setValue(ExplorePanel::PositionOf(20)); }, 1},
        {"rate target",
         [&] {
             Panel().TargetChoice()->setCurrentIndex(1);
             Panel().PenaltySlider()->setValue(ExplorePanel::PositionOfRate(0.5));
         },
         1},
        {"minimum block size",
         [&] {
             Panel().MinBlockSizeEdit()->setText(QStringLiteral("8"));
             Q_EMIT Panel().MinBlockSizeEdit()->returnPressed();
         },
         2},
        {"gray picture",
         [&] {
             Trigger(ID_PICTURE_COLOR);
             Trigger(ID_PICTURE_GRAY);
             Panel().PenaltySlider()->setValue(ExplorePanel::PositionOfRate(0.08));
         },
         3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        c.make();
        WaitForIdle();
        EXPECT_EQ(Cache().searches, c.searches);
        EXPECT_TRUE(Doc().Pictures().Optimised());
    }
    // The last target was a rate, met as nearly as this small picture's files allow.
    ASSERT_TRUE(Doc().Figures().has_value());
    EXPECT_NEAR(Doc().Figures()->fileBitrate, 0.08, 0.08 * 0.15);
    EXPECT_EQ(Doc().Figures()->minBlockSize, 8);
}

// The rate box and slider take the engine's one range of targets; a target the penalties
// cannot reach runs to the nearest file, and the panel says what it reached and why.
TEST_F(Optimised, RateTargetsSpanTheEnginesRangeAndAMissIsTold) {
    EXPECT_EQ(ExplorePanel::RateAt(0), kLowestRateTarget);
    EXPECT_EQ(ExplorePanel::RateAt(ExplorePanel::kSliderSteps), kHighestRateTarget);
    ImportAndGray();
    Panel().ModeChoice()->setCurrentIndex(1);
    Panel().TargetChoice()->setCurrentIndex(1);
    WaitForIdle();
    // 96 x 80 pixels: the header alone is 0.015 bits a pixel, the finest tree far below 10;
    // the rate of penalty 1, where the search starts, is met.
    const QString reachable =
        FormatRate(FileBitsPerPixel(EngineRun(Doc().Pictures().Gray(), 1, 4)));
    const struct {
        QString typed;
        bool taken;
        const char* why;  // a word of the reason, for a target out of reach
    } cases[] = {
        {QStringLiteral("0.0009"), false, nullptr},
        {QStringLiteral("10.01"), false, nullptr},
        {QStringLiteral("0.001"), true, "最粗"},
        {QStringLiteral("10"), true, "最细"},
        {reachable, true, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        m_host.messages.clear();
        const std::optional<RunFigures> before = Doc().Figures();
        Panel().RateEdit()->setText(c.typed);
        Q_EMIT Panel().RateEdit()->returnPressed();
        WaitForIdle();
        ASSERT_EQ(m_host.messages.empty(), c.taken);
        ASSERT_TRUE(Doc().Figures().has_value());
        if (!c.taken) {
            EXPECT_EQ(Doc().Figures()->penalty, before->penalty);
            continue;
        }
        const double reached = Doc().Figures()->fileBitrate;
        const QString note = Panel().RateNoteText();
        EXPECT_EQ(!note.isEmpty(), c.why != nullptr) << note.toStdString();
        EXPECT_EQ(IsRateTargetMet(c.typed.toDouble(), reached), c.why == nullptr);
        if (c.why) {
            EXPECT_TRUE(note.contains(c.typed + QStringLiteral(" 比特/像素")));
            EXPECT_TRUE(note.contains(QString::fromStdString(FormatFigure(reached))));
            EXPECT_TRUE(note.contains(QString::fromUtf8(c.why)));
        }
    }
}

// After a rate target the parameter dialog offers the penalty the run found; a point of the
// curve clicked while the slider sets rates keeps it setting rates, at the point's rate.
TEST_F(Optimised, ARateRunsPenaltyReachesTheDialogAndACurvePointKeepsTheRate) {
    ImportAndGray();
    Trigger(ID_VIEW_EXPLORE);
    Panel().ModeChoice()->setCurrentIndex(1);
    Panel().TargetChoice()->setCurrentIndex(1);
    Panel().RateEdit()->setText(QStringLiteral("0.5"));
    Q_EMIT Panel().RateEdit()->returnPressed();
    WaitForIdle();
    ASSERT_TRUE(Doc().Figures().has_value());
    const double found = Doc().Figures()->penalty;
    QString offered;
    m_host.onExec = [&](QDialog& dialog) {
        offered = dynamic_cast<DecompParamDlg&>(dialog).PenaltyEdit()->text();
        return static_cast<int>(QDialog::Rejected);
    };
    for (int id : {ID_PICTURE_COLOR, ID_PICTURE_GRAY, ID_QUADTREE})
        Trigger(id);
    EXPECT_NEAR(offered.toDouble(), found, found * 1e-12);

    const std::vector<CurvePoint>& curve = Panel().Curve()->Curve();
    ASSERT_FALSE(curve.empty());
    const CurvePoint point = curve[curve.size() / 2];
    Q_EMIT Panel().Curve()->PenaltyChosen(point.penalty);
    WaitForIdle();
    EXPECT_EQ(Panel().SliderTarget(), ExplorePanel::Target::Rate);
    EXPECT_EQ(Panel().RateEdit()->text(), FormatRate(point.bitrate));
    EXPECT_EQ(Panel().PenaltySlider()->value(), ExplorePanel::PositionOfRate(point.bitrate));
    ASSERT_TRUE(Doc().Figures().has_value());
    EXPECT_EQ(Doc().Figures()->fileBitrate, point.bitrate);
    EXPECT_TRUE(m_host.messages.empty());
}

// A fast drag: a step still running shows its picture, then the newest step runs; the ones
// between are dropped. Esc takes the waiting step with the running one.
TEST_F(Optimised, AFastDragShowsThePicturesAlongTheWay) {
    ImportAndGray();
    Panel().ModeChoice()->setCurrentIndex(1);
    WaitForIdle();
    std::vector<double> shown;
    const QObject listening;
    QObject::connect(&Doc(), &ZantrelDoc::StageChanged, &listening, [&] {
        if (Doc().Figures())
            shown.push_back(Doc().Figures()->penalty);
    });
    const int positions[] = {ExplorePanel::PositionOf(2), ExplorePanel::PositionOf(5),
                             ExplorePanel::PositionOf(20)};
    for (const int position : positions)
        Panel().PenaltySlider()->setValue(position);
    WaitForIdle();
    const std::vector<double> expected = {ExplorePanel::PenaltyAt(positions[0]),
                                          ExplorePanel::PenaltyAt(positions[2])};
    EXPECT_EQ(shown, expected);

    shown.clear();
    for (const int position : positions)
        Panel().PenaltySlider()->setValue(position);
    Trigger(ID_CANCEL_RUN);
    WaitForIdle();
    EXPECT_EQ(shown, std::vector<double>{});
}

// A version 2 file opens like any Zantrel file, and the hover tells its models.
TEST_F(Optimised, AVersionTwoFileOpensAndEveryBlockIsDescribed) {
    const QImage image = RampsAndEdge();
    GrayPicture gray(kWidth, kHeight);
    for (int r = 0; r < kHeight; ++r) {
        for (int c = 0; c < kWidth; ++c)
            gray.At(r, c) = static_cast<std::uint8_t>(qGray(image.pixel(c, kHeight - 1 - r)));
    }
    const OptimisedRun run = EngineRun(gray, 1, 2);
    const QString path = PathInFolder(QStringLiteral("v2.ztl"));
    WriteBytes(path.toStdString(), EncodeZtl(run.tree));
    m_app->InitInstance({});
    m_host.fileAnswers = {path};
    Trigger(ID_OPEN_PICTURE);
    ASSERT_EQ(Mode(), DISPLAY_ZANTREL);
    const DocumentPictures& pictures = Doc().Pictures();
    EXPECT_TRUE(pictures.Optimised());
    EXPECT_EQ(pictures.Result(), run.result);
    Trigger(ID_GRID_LINES);
    EXPECT_EQ(Mode(), DISPLAY_GRID_LINES);

    BlockLookup lookup;
    lookup.Build(pictures);
    std::set<std::size_t> kinds;
    for (const QuadBlock& leaf : pictures.Tree().leaves) {
        kinds.insert(leaf.model.index());
        EXPECT_FALSE(lookup.Describe(leaf.row, leaf.col).isEmpty());
    }
    EXPECT_GE(kinds.size(), 3u);
}

TEST(OptimisedHover, EachModelKindIsTold) {
    const Plane a{120, 8, -4};
    const Plane b{60, 0, 2};
    const CutLine line{{0, 2}, {8, 4}};
    const struct {
        LeafModel model;
        const char* text;
    } cases[] = {
        {OneValueModel{77}, "单值 77"},
        {CutModel{line, 183, 164}, "切割线 (0, 2)–(8, 4)，A 侧 183，B 侧 164"},
        {PlaneModel{a}, "斜面：中心 120，横向 8，纵向 -4"},
        {CutPlanesModel{line, a, b},
         "切割线 (0, 2)–(8, 4)，A 侧斜面：中心 120，横向 8，纵向 -4；B 侧斜面：中心 60，横向 0，"
         "纵向 2"},
    };
    for (const auto& c : cases) {
        DocumentPictures pictures;
        DecodedFile& file = pictures.content.emplace<DecodedFile>();
        file.tree.width = file.tree.height = 8;
        file.tree.leaves = {QuadBlock{0, 0, 8, 0, 0.0, c.model}};
        BlockLookup lookup;
        lookup.Build(pictures);
        EXPECT_EQ(lookup.Describe(3, 5),
                  QStringLiteral("块 (行 0, 列 0) 大小 8：") + QString::fromUtf8(c.text));
    }
}

}  // namespace

}  // namespace zantrel
