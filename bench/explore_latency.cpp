// The explore panel's latency with the real window: from a move of the penalty slider to the
// new approximation painted on the screen, and the longest stall of the event loop while the
// worker computes (a 10 ms timer's longest gap beyond its period).
//
//   QT_QPA_PLATFORM=offscreen build/release/bench/explore-latency [MOVES [--no-worst-case]]
//
// MOVES moves (50 by default) go to penalty 10 and as many to penalty 1000, alternately, each
// waiting for its picture; then MOVES / 10 runs of the worst case, the sample as one 512 block
// searched for a cut line (the penalty of half the whole picture's error), and as many times
// Esc pressed 100 ms into the worst case, until the worker is idle. Then the optimised mode
// (its search once): MOVES / 2 moves between penalties 2 and 20, and as many between the
// rates 0.05 and 0.2 bits per pixel.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string_view>
#include <vector>

#include "app/CommandTable.h"
#include "app/ExplorePanel.h"
#include "app/MainFrame.h"
#include "app/StageRuns.h"
#include "app/WidgetDialogHost.h"
#include "app/ZantrelApp.h"
#include "app/ZantrelDoc.h"
#include "measure/RunFigures.h"
#include "optimise/Optimiser.h"
#include "quadtree/Quadtree.h"
#include "view/ZantrelView.h"

using namespace zantrel;

namespace {

// Notes when the picture is painted with the awaited result: that of a penalty, or a file
// that meets a rate target.
class PaintWatch final : public QObject {
  public:
    explicit PaintWatch(const ZantrelDoc& doc) : m_doc(doc) {}
    void Await(double penalty) {
        Await([penalty](const RunFigures& figures) { return figures.penalty == penalty; });
    }
    void AwaitRate(double rate) {
        Await([rate](const RunFigures& figures) {
            return IsRateTargetMet(rate, figures.fileBitrate);
        });
    }
    bool Painted() const { return m_painted; }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && m_doc.Figures() && m_awaited(*m_doc.Figures()))
            m_painted = true;
        return false;
    }

  private:
    void Await(std::function<bool(const RunFigures&)> awaited) {
        m_awaited = std::move(awaited);
        m_painted = false;
    }

    const ZantrelDoc& m_doc;
    std::function<bool(const RunFigures&)> m_awaited = [](const RunFigures&) { return false; };
    bool m_painted = false;
};

// The longest gap between two ticks of a 10 ms timer, less the period.
class StallMeter {
  public:
    StallMeter() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(kPeriod);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_longest = std::max(m_longest, m_sinceTick.nsecsElapsed() / 1e6 - kPeriod);
            m_sinceTick.start();
        });
        m_sinceTick.start();
        m_timer.start();
    }
    double Longest() const { return m_longest; }

  private:
    static constexpr int kPeriod = 10;
    QTimer m_timer;
    QElapsedTimer m_sinceTick;
    double m_longest = 0;
};

double Median(std::vector<double> values) {
    std::ranges::sort(values);
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::vector<double> Joined(std::vector<double> a, const std::vector<double>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

double Longest(const std::vector<double>& values) {
    return *std::ranges::max_element(values);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const int moves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    // Without the worst case, e.g. for a profile of the moves alone.
    const int worstRuns =
        argc > 2 && std::string_view(argv[2]) == "--no-worst-case" ? 0 : std::max(1, moves / 10);
    QTemporaryDir folder;
    QSettings profile(folder.filePath(QStringLiteral("profile.ini")), QSettings::IniFormat);
    WidgetDialogHost host;
    ZantrelApp app(profile, host);
    host.SetOwner(&app.Frame());
    app.InitInstance(QStringLiteral(ZANTREL_SAMPLE));
    MainFrame& frame = app.Frame();
    frame.showNormal();
    frame.resize(1280, 900);
    frame.Action(ID_PICTURE_GRAY)->trigger();
    frame.Action(ID_VIEW_EXPLORE)->trigger();
    frame.Runs().WaitForIdle();  // the curve too: it would take a core from the moves

    const ZantrelDoc& doc = app.Doc();
    ExplorePanel& panel = frame.Explore();
    PaintWatch watch(doc);
    frame.View().viewport()->installEventFilter(&watch);
    const auto waitForPicture = [&] {
        while (!watch.Painted())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    };

    StallMeter movesStall;
    std::vector<double> toTen;
    std::vector<double> toThousand;
    QElapsedTimer clock;
    for (int i = 0; i < 2 * moves; ++i) {
        const double penalty = i % 2 ? 1000.0 : 10.0;
        watch.Await(penalty);
        clock.start();
        panel.PenaltySlider()->setValue(ExplorePanel::PositionOf(penalty));
        waitForPicture();
        (i % 2 ? toThousand : toTen).push_back(clock.nsecsElapsed() / 1e6);
    }
    const double movesLongestStall = movesStall.Longest();

    const RegionFit whole = MeasureBlock(*doc.Inputs().sums, 0, 0, doc.Pictures().Gray().width);
    const double worstPenalty = whole.error / 2;
    std::vector<double> worst;
    StallMeter worstStall;
    for (int i = 0; i < worstRuns; ++i) {
        // Away and back, so every run is a real change.
        watch.Await(10.0);
        panel.PenaltySlider()->setValue(ExplorePanel::PositionOf(10.0));
        waitForPicture();
        watch.Await(worstPenalty);
        clock.start();
        panel.PenaltyEdit()->setText(QString::number(worstPenalty, 'g', 17));
        Q_EMIT panel.PenaltyEdit()->returnPressed();
        waitForPicture();
        worst.push_back(clock.nsecsElapsed() / 1e6);
    }
    const double worstLongestStall = worstStall.Longest();
    if (worstRuns > 0 && doc.Inputs().quadtree->tree.leaves.size() != 1)
        std::fprintf(stderr, "the worst case was split\n");

    // Esc 100 ms into the worst case: how long until the worker is idle again.
    std::vector<double> stops;
    for (int i = 0; i < worstRuns; ++i) {
        watch.Await(10.0);
        panel.PenaltySlider()->setValue(ExplorePanel::PositionOf(10.0));
        waitForPicture();
        panel.PenaltyEdit()->setText(QString::number(worstPenalty, 'g', 17));
        Q_EMIT panel.PenaltyEdit()->returnPressed();
        QEventLoop running;
        QTimer::singleShot(100, &running, &QEventLoop::quit);
        running.exec();
        clock.start();
        frame.Action(ID_CANCEL_RUN)->trigger();
        frame.Runs().Stages().WaitForIdle();
        stops.push_back(clock.nsecsElapsed() / 1e6);
    }

    // The optimised mode: the search runs once, at the penalty shown, before the moves.
    panel.ModeChoice()->setCurrentIndex(1);
    frame.Runs().WaitForIdle();
    const int optimisedMoves = std::max(1, moves / 2);
    const auto moveBetween = [&](auto await, int position0, int position1, double target0,
                                 double target1) {
        std::vector<double> times[2];
        for (int i = 0; i < 2 * optimisedMoves; ++i) {
            await(i % 2 ? target1 : target0);
            clock.start();
            panel.PenaltySlider()->setValue(i % 2 ? position1 : position0);
            waitForPicture();
            times[i % 2].push_back(clock.nsecsElapsed() / 1e6);
        }
        return std::pair(times[0], times[1]);
    };
    const auto [toTwo, toTwenty] =
        moveBetween([&](double penalty) { watch.Await(penalty); }, ExplorePanel::PositionOf(2),
                    ExplorePanel::PositionOf(20), 2.0, 20.0);
    panel.TargetChoice()->setCurrentIndex(1);
    const auto [toLowRate, toHighRate] = moveBetween(
        [&](double rate) { watch.AwaitRate(rate); }, ExplorePanel::PositionOfRate(0.05),
        ExplorePanel::PositionOfRate(0.2), ExplorePanel::RateAt(ExplorePanel::PositionOfRate(0.05)),
        ExplorePanel::RateAt(ExplorePanel::PositionOfRate(0.2)));

    std::printf("slider move to picture on screen (ms), %d moves each:\n", moves);
    std::printf("  penalty 10:    median %.1f, longest %.1f\n", Median(toTen), Longest(toTen));
    std::printf("  penalty 1000:  median %.1f, longest %.1f\n", Median(toThousand),
                Longest(toThousand));
    if (worstRuns > 0) {
        std::printf(
            "  worst case (one 512 block, penalty %.0f), %zu runs: median %.1f, longest %.1f\n",
            worstPenalty, worst.size(), Median(worst), Longest(worst));
        std::printf("  Esc 100 ms into the worst case, until idle: median %.1f, longest %.1f\n",
                    Median(stops), Longest(stops));
    }
    std::printf("optimised mode, %d moves each:\n", optimisedMoves);
    std::printf("  penalty 2:     median %.1f, longest %.1f\n", Median(toTwo), Longest(toTwo));
    std::printf("  penalty 20:    median %.1f, longest %.1f\n", Median(toTwenty),
                Longest(toTwenty));
    std::printf("  rate 0.05:     median %.1f, longest %.1f\n", Median(toLowRate),
                Longest(toLowRate));
    std::printf("  rate 0.2:      median %.1f, longest %.1f\n", Median(toHighRate),
                Longest(toHighRate));
    std::printf("  optimised / exact (medians of all moves): penalty %.2f, rate %.2f\n",
                Median(Joined(toTwo, toTwenty)) / Median(Joined(toTen, toThousand)),
                Median(Joined(toLowRate, toHighRate)) / Median(Joined(toTen, toThousand)));
    std::printf("longest event-loop stall beyond a 10 ms timer's period (ms):\n");
    std::printf("  during the moves %.1f, during the worst case %.1f\n", movesLongestStall,
                worstLongestStall);
    return 0;
}
