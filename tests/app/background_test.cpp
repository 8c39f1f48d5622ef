// Commands and the explore panel computing on a worker: a stopped command changes nothing, the
// newest request wins, the panel's figures are zantrel-cli's for the same settings, and the
// parameter dialog offers the panel's values once the panel was used.

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QSlider>
#include <QToolButton>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <regex>
#include <set>
#include <string>
#include <thread>

#include "AppFixture.h"
#include "app/CommandTable.h"
#include "app/ExplorePanel.h"
#include "app/MainFrame.h"
#include "app/ProgressStatusBar.h"
#include "app/RateCurveWidget.h"
#include "app/StageJob.h"
#include "app/StageRuns.h"
#include "support/CliRunner.h"
#include "view/DecompParamDlg.h"
#include "view/ZantrelView.h"

namespace zantrel {

namespace {

// The commands that wait while the worker computes.
constexpr int kProcessing[] = {ID_SAVE_PICTURE, ID_SAVE_ZTL,  ID_PICTURE_COLOR, ID_PICTURE_GRAY,
                               ID_QUADTREE,     ID_GRAY_GRID, ID_ZANTREL,       ID_GRID_LINES,
                               ID_PSNR,         ID_BIT_RATE};

class Background : public AppTest {
  protected:
    struct State {
        DisplayMode mode;
        GrayPicture result;
        std::size_t blocks;
        std::size_t cutModels;
        std::set<int> enabled;
        bool operator==(const State&) const = default;
    };
    State Now() {
        std::set<int> enabled;
        for (int id : kProcessing) {
            if (Action(id).isEnabled())
                enabled.insert(id);
        }
        const DocumentPictures& pictures = Doc().Pictures();
        const std::shared_ptr<const QuadtreeStage>& quadtree = Stages().quadtree;
        return {Mode(), pictures.Result(), quadtree ? quadtree->tree.leaves.size() : 0,
                pictures.Decomposed() ? CutCount(pictures.Tree()) : 0, enabled};
    }
    const QWidget& Picture() { return *m_app->Frame().View().viewport(); }
    ProgressStatusBar& Bar() { return m_app->Frame().StatusBar(); }
};

TEST_F(Background, AStoppedCommandChangesNothing) {
    struct Case {
        const char* name;
        std::vector<int> before;
        int command;
        bool byButton;  // else by the Esc command
        RunMode mode = RunMode::Exact;
    };
    const Case cases[] = {
        {"quadtree, Esc", {ID_OPEN_PICTURE, ID_PICTURE_GRAY}, ID_QUADTREE, false},
        {"cut lines, button", {ID_OPEN_PICTURE, ID_PICTURE_GRAY, ID_QUADTREE}, ID_ZANTREL, true},
        {"cut lines from the grid, Esc",
         {ID_OPEN_PICTURE, ID_PICTURE_GRAY, ID_QUADTREE, ID_GRAY_GRID},
         ID_ZANTREL,
         false},
        {"optimised search, Esc",
         {ID_OPEN_PICTURE, ID_PICTURE_GRAY, ID_QUADTREE},
         ID_ZANTREL,
         false,
         RunMode::Optimised},
    };
    EXPECT_EQ(Action(ID_CANCEL_RUN).shortcut(), QKeySequence(Qt::Key_Escape));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeApp();
        m_host.onExec = AnswerParameters(QStringLiteral("1"), QStringLiteral("4"), c.mode);
        m_host.fileAnswers = {WritePicture(QStringLiteral("a.bmp"))};
        m_app->InitInstance({});
        for (int id : c.before)
            Trigger(id);
        const State before = Now();
        ASSERT_TRUE(Action(c.command).isEnabled());
        ASSERT_FALSE(Action(ID_CANCEL_RUN).isEnabled());

        Action(c.command).trigger();
        EXPECT_EQ(Now().enabled, std::set<int>{});
        EXPECT_TRUE(Action(ID_CANCEL_RUN).isEnabled());
        EXPECT_TRUE(Bar().CancelButton()->isVisible());
        EXPECT_EQ(Picture().cursor().shape(), Qt::WaitCursor);
        const auto stop = std::chrono::steady_clock::now();
        if (c.byButton)
            Bar().CancelButton()->click();
        else
            Action(ID_CANCEL_RUN).trigger();
        WaitForIdle();
        // Well within the second a whole search takes; 100 ms when the machine is not loaded.
        // A thread sanitizer slows every step several times over.
#if defined(__SANITIZE_THREAD__)
        constexpr auto kPrompt = std::chrono::milliseconds(2000);
#else
        constexpr auto kPrompt = std::chrono::milliseconds(400);
#endif
        EXPECT_LT(std::chrono::steady_clock::now() - stop, kPrompt);

        EXPECT_TRUE(Now() == before);
        EXPECT_EQ(Mode(), before.mode);
        EXPECT_EQ(Now().enabled, before.enabled);
        EXPECT_FALSE(Bar().CancelButton()->isVisible());
        EXPECT_NE(Picture().cursor().shape(), Qt::WaitCursor);
        EXPECT_EQ(Bar().PaneText(), QStringLiteral("就绪"));
        EXPECT_EQ(Bar().GetProgressCtrl()->value(), 0);
    }
}

TEST_F(Background, OpeningAFileStopsTheRunningCommandFirst) {
    m_host.onExec = AnswerParameters(QStringLiteral("1"), QStringLiteral("4"));
    m_host.fileAnswers = {
        WritePicture(QStringLiteral("a.bmp")),
        WritePicture(QStringLiteral("b.bmp"), [](int, int) { return 0x0000FFu; })};
    m_app->InitInstance({});
    for (int id : {ID_OPEN_PICTURE, ID_PICTURE_GRAY, ID_QUADTREE})
        Trigger(id);
    Action(ID_ZANTREL).trigger();
    Trigger(ID_OPEN_PICTURE);
    EXPECT_FALSE(Runs().Busy());
    EXPECT_EQ(Mode(), DISPLAY_COLOR);
    EXPECT_EQ(Title(), LoadedTitle(QStringLiteral("b.bmp")));
    EXPECT_FALSE(Doc().Pictures().Decomposed());
    EXPECT_TRUE(Doc().Pictures().Gray().samples.empty());
}

TEST(BackgroundRun, AnOvertakenJobIsCancelledThroughItsProgressAndDropped) {
    BackgroundRun run;
    std::vector<bool> ended;
    QObject::connect(&run, &BackgroundRun::JobEnded,
                     [&](bool applied) { ended.push_back(applied); });
    std::atomic<bool> firstSawCancel{false};
    std::vector<int> applied;
    run.Start(
        [&](Progress& progress) -> BackgroundRun::Apply {
            // Runs until told to stop; gives up after a while so a fault fails, not hangs.
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (!progress.Cancelled() && std::chrono::steady_clock::now() < end)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            firstSawCancel = progress.Cancelled();
            return [&] { applied.push_back(1); };
        },
        nullptr);
    run.Start([&](Progress&) -> BackgroundRun::Apply { return [&] { applied.push_back(2); }; },
              nullptr);
    run.WaitForIdle();
    EXPECT_TRUE(firstSawCancel);
    EXPECT_EQ(applied, std::vector<int>{2});
    EXPECT_EQ(ended, (std::vector<bool>{false, true}));
}

// A status bar that notes every report in the order it came.
class ReportLog final : public StatusDisplay {
  public:
    void SetPaneText(std::string_view text) override { seen.emplace_back(text); }
    void SetProgressPos(int position) override { seen.push_back(std::to_string(position)); }
    std::vector<std::string> seen;
};

TEST(BackgroundRun, ReportsArriveInTheirOrderBeforeTheResultAndNoneAfterAStop) {
    BackgroundRun run;
    ReportLog log;
    run.Start(
        [&](Progress& progress) -> BackgroundRun::Apply {
            for (int i = 1; i <= 3; ++i) {
                progress.SetText("step");  // a repeated text is told once
                progress.SetPosition(i);
            }
            progress.SetText("done");
            return [&] { log.seen.emplace_back("applied"); };
        },
        &log);
    run.WaitForIdle();
    EXPECT_EQ(log.seen, (std::vector<std::string>{"step", "1", "2", "3", "done", "applied"}));

    // Stopped once it has reported: its later reports and its result are dropped, and the bar
    // falls back to idle.
    log.seen.clear();
    std::atomic<bool> reported{false};
    run.Start(
        [&](Progress& progress) -> BackgroundRun::Apply {
            progress.SetPosition(50);
            reported = true;
            while (!progress.Cancelled())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            progress.SetPosition(60);
            return [&] { log.seen.emplace_back("applied"); };
        },
        &log);
    while (!reported)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    run.Cancel();
    run.WaitForIdle();
    EXPECT_EQ(log.seen, (std::vector<std::string>{"0", QStringLiteral("就绪").toStdString()}));
}

// A progress that notes every text and position of a run, in order.
class ProgressLog final : public Progress {
  public:
    void SetText(std::string_view text) override { texts.emplace_back(text, positions.size()); }
    void SetPosition(int position) override { positions.push_back(position); }
    bool Cancelled() const override { return false; }
    // Each text with the number of positions told before it.
    std::vector<std::pair<std::string, std::size_t>> texts;
    std::vector<int> positions;
};

// The optimised run moves one bar over the search, the pruning's passes and the rate search's
// steps, never back, naming its own stages; the bar is full only when the run is.
TEST(OptimisedProgress, OneBarOverTheWholeRunWithTheModesOwnTexts) {
    // Texture to minimum block 1: many pieces of search, each of which counted from 0 before.
    auto gray = std::make_shared<GrayPicture>(300, 260);
    for (int row = 0; row < gray->height; ++row) {
        for (int col = 0; col < gray->width; ++col)
            gray->At(row, col) =
                static_cast<std::uint8_t>((row * 37 + col * 91 + row * col) & 0xFF);
    }
    const StageInputs inputs{gray, std::make_shared<const SummedTables>(*gray), nullptr};
    const std::string search = "率失真优化：逐块搜索";
    const std::string prune = "率失真优化：剪枝与编码";
    const std::string rate = "率失真优化：寻找目标比特率";
    const std::string done = "解码完毕";
    struct Case {
        const char* name;
        std::optional<double> rate;
        std::vector<std::string> texts;
    };
    // The second and third keep the first's search.
    const Case cases[] = {
        {"penalty, searching", std::nullopt, {search, prune, done}},
        {"penalty, search kept", std::nullopt, {prune, done}},
        {"rate, search kept", 0.5, {rate, done}},
    };
    LineSearchWorkspace workspace;
    OptimiserCache cache;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProgressLog log;
        const StageRequest request{DecompositionParameters{0.5, 1}, true, RunMode::Optimised,
                                   c.rate};
        ASSERT_TRUE(RunStages(inputs, request, workspace, cache, log).has_value());
        std::vector<std::string> texts;
        for (const auto& [text, before] : log.texts)
            texts.push_back(text);
        EXPECT_EQ(texts, c.texts);
        // Up to the end's text: never back, full only at the end, and moving in every stage.
        const std::size_t end = log.texts.back().second;
        ASSERT_GT(end, 0u);
        const std::vector<int> run(log.positions.begin(), log.positions.begin() + end);
        EXPECT_TRUE(std::is_sorted(run.begin(), run.end())) << testing::PrintToString(run);
        EXPECT_EQ(run.back(), 100);
        EXPECT_EQ(std::count(run.begin(), run.end(), 100), 1) << testing::PrintToString(run);
        for (std::size_t k = 0; k + 1 < log.texts.size(); ++k)
            EXPECT_LT(log.texts[k].second, log.texts[k + 1].second) << log.texts[k].first;
        // The bar then goes back to 0, as after the exact mode's reconstruction.
        EXPECT_EQ(log.positions.back(), 0);
    }
}

class Explore : public AppTest {
  protected:
    ExplorePanel& Panel() { return m_app->Frame().Explore(); }
    // The sample and its gray picture; the panel is off until the gray. A shown panel
    // computes its curve.
    void StartOnTheSample(bool shown) {
        m_app->InitInstance(QStringLiteral(ZANTREL_SAMPLE));
        if (shown)
            Trigger(ID_VIEW_EXPLORE);
        ASSERT_EQ(Panel().isVisible(), shown);
        EXPECT_FALSE(Panel().NoteText().isEmpty());
        EXPECT_FALSE(Panel().PenaltySlider()->isEnabled());
        Trigger(ID_PICTURE_GRAY);
        EXPECT_TRUE(Panel().NoteText().isEmpty());
        EXPECT_TRUE(Panel().PenaltySlider()->isEnabled());
    }
    // Types both values and presses Enter; returns without waiting for the run.
    void Type(const QString& penalty, const QString& minBlockSize) {
        Panel().PenaltyEdit()->setText(penalty);
        Panel().MinBlockSizeEdit()->setText(minBlockSize);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(Panel().PenaltyEdit(), &enter);
    }
};

TEST_F(Explore, TheCurveIsKeptUntilThePictureOrItsBlockSizeChanges) {
    m_app->InitInstance(WritePng(QStringLiteral("small.png"), 64, 48));
    Trigger(ID_VIEW_EXPLORE);
    int computed = 0;
    QObject::connect(&m_app->Frame().Runs().Curve(), &BackgroundRun::JobEnded,
                     [&](bool applied) { computed += applied; });
    const auto gray = [this] {
        Trigger(ID_PICTURE_COLOR);
        Trigger(ID_PICTURE_GRAY);
    };
    const struct {
        const char* step;
        std::function<void()> act;
        int computed;
    } steps[] = {
        {"gray", gray, 1},
        {"the same gray again", gray, 1},
        {"another block size", [&] { Type(QStringLiteral("1"), QStringLiteral("8")); }, 2},
        {"the first block size again", [&] { Type(QStringLiteral("1"), QStringLiteral("4")); }, 2},
        {"another picture",
         [&] {
             ASSERT_TRUE(m_app->Frame().OpenDocument(WritePng(QStringLiteral("b.png"), 48, 64)));
             gray();
         },
         3},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.step);
        step.act();
        WaitForIdle();
        EXPECT_EQ(computed, step.computed);
        EXPECT_FALSE(Panel().Curve()->Curve().empty());
    }
}

TEST_F(Explore, FiguresAreThoseOfTheCommandLineAndTheCurveChoosesPenalties) {
    StartOnTheSample(true);
    Type(QStringLiteral("50"), QStringLiteral("8"));
    WaitForIdle();
    EXPECT_EQ(Mode(), DISPLAY_ZANTREL);

    const CliRun cli =
        RunProgram(ZANTREL_CLI, "--penalty 50 --min-block 8 --json '" ZANTREL_SAMPLE "'");
    ASSERT_EQ(cli.exitCode, 0);
    std::smatch m;
    ASSERT_TRUE(std::regex_search(
        cli.out, m,
        std::regex("\"blocks\": ([0-9]+), \"cutModels\": ([0-9]+), .*\"psnr\": \"([^\"]+)\", "
                   "\"bitrate\": \"([^\"]+)\", \"fileBitrate\": \"([^\"]+)\"")))
        << cli.out;
    const QString bpp = QStringLiteral(" 比特/像素");
    EXPECT_EQ(Panel().FigureText(ExplorePanel::Blocks), QString::fromStdString(m[1]));
    EXPECT_EQ(Panel().FigureText(ExplorePanel::CutModels), QString::fromStdString(m[2]));
    EXPECT_EQ(Panel().FigureText(ExplorePanel::Psnr), QString::fromStdString(m[3]) + " dB");
    EXPECT_EQ(Panel().FigureText(ExplorePanel::BitRate), QString::fromStdString(m[4]) + bpp);
    EXPECT_EQ(Panel().FigureText(ExplorePanel::FileBitRate), QString::fromStdString(m[5]) + bpp);

    // The curve of the sample at block size 8, with the result on it; a click on its point of
    // penalty 1000 runs that, and the cut-line mode stays.
    RateCurveWidget& curve = *Panel().Curve();
    ASSERT_EQ(curve.Curve().size(), RateCurvePenalties().size());
    ASSERT_TRUE(curve.Current().has_value());
    EXPECT_EQ(curve.Current()->penalty, 50.0);
    const auto chosen = std::ranges::find(curve.Curve(), 1000.0, &CurvePoint::penalty);
    ASSERT_NE(chosen, curve.Curve().end());
    Trigger(ID_GRID_LINES);
    const QPointF at = curve.Position(*chosen) + QPointF(2, -2);
    QMouseEvent click(QEvent::MouseButtonPress, at, curve.mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&curve, &click);
    WaitForIdle();
    EXPECT_EQ(Panel().PenaltyEdit()->text(), QStringLiteral("1000"));
    EXPECT_EQ(Panel().PenaltySlider()->value(), ExplorePanel::PositionOf(1000));
    EXPECT_EQ(Mode(), DISPLAY_GRID_LINES);
    ASSERT_TRUE(Doc().Figures().has_value());
    EXPECT_EQ(Doc().Figures()->penalty, 1000.0);
    EXPECT_EQ(Doc().Figures()->minBlockSize, 8);
    EXPECT_EQ(curve.Current()->psnr, chosen->psnr);
    EXPECT_EQ(curve.Current()->bitrate, chosen->bitrate);
}

TEST_F(Explore, TheNewestRequestWins) {
    StartOnTheSample(false);
    std::vector<bool> ended;
    QObject::connect(&Runs(), &BackgroundRun::JobEnded,
                     [&](bool applied) { ended.push_back(applied); });
    Panel().PenaltySlider()->setValue(ExplorePanel::PositionOf(10));
    Panel().PenaltySlider()->setValue(ExplorePanel::PositionOf(1000));
    WaitForIdle();
    // A slider step already running is shown first; the newest comes last.
    EXPECT_EQ(ended, (std::vector<bool>{true, true}));
    EXPECT_EQ(Mode(), DISPLAY_ZANTREL);
    ASSERT_NE(Stages().quadtree, nullptr);
    EXPECT_EQ(Stages().quadtree->tree.penalty, 1000.0);
    ASSERT_TRUE(Doc().Figures().has_value());
    EXPECT_EQ(Doc().Figures()->penalty, 1000.0);
    EXPECT_EQ(Panel().PenaltyEdit()->text(), QStringLiteral("1000"));
    // The result is the one a run at 1000 makes from scratch.
    QuietProgress quiet;
    LineSearchWorkspace search;
    const std::optional<StageOutputs> direct =
        RunStages(Doc().Inputs(), {DecompositionParameters{1000, 4}, true}, search, quiet);
    ASSERT_TRUE(direct.has_value() && direct->cutLines.has_value());
    EXPECT_EQ(Doc().Pictures().Result(), direct->cutLines->stage.result);
    EXPECT_EQ(Panel().FigureText(ExplorePanel::CutModels),
              QString::number(direct->cutLines->figures.cutModels));
}

TEST_F(Explore, RefusesWhatTheDialogRefusesAndTheDialogOffersItsValuesOnceUsed) {
    StartOnTheSample(false);
    QStringList offered;
    m_host.onExec = [&](QDialog& dialog) {
        auto& parameters = dynamic_cast<DecompParamDlg&>(dialog);
        offered << parameters.PenaltyEdit()->text() + QLatin1Char('/') +
                       parameters.MinBlockSizeEdit()->text();
        return static_cast<int>(QDialog::Rejected);
    };
    Trigger(ID_QUADTREE);

    Type(QStringLiteral("abc"), QStringLiteral("0"));
    ASSERT_EQ(m_host.messages.size(), 1u);
    EXPECT_EQ(m_host.messages[0].text, QStringLiteral("“请填入一个在1和128之间的整数。”"));
    EXPECT_EQ(m_host.messages[0].caption, QStringLiteral("Zantrel"));
    EXPECT_FALSE(Runs().Busy());
    EXPECT_FALSE(Panel().UsedValues().has_value());

    Type(QStringLiteral("2.5"), QStringLiteral("16"));
    WaitForIdle();
    for (int id : {ID_PICTURE_COLOR, ID_PICTURE_GRAY, ID_QUADTREE})
        Trigger(id);
    EXPECT_EQ(offered, (QStringList{QStringLiteral("1/4"), QStringLiteral("2.5/16")}));
}

}  // namespace

}  // namespace zantrel
