// The explore panel's latency with the real window: from a move of the penalty slider to the
// new approximation painted on the screen, and the longest stall of the event loop while the
// worker computes (a 10 ms timer's longest gap beyond its period).
//
//   QT_QPA_PLATFORM=offscreen build/release/bench/explore-latency [MOVES]
//
// MOVES moves (50 by default) go to penalty 10 and as many to penalty 1000, alternately, each
// waiting for its picture; then MOVES / 10 runs of the worst case, the sample as one 512 block
// searched for a cut line (the penalty of half the whole picture's error), and as many times
// Esc pressed 100 ms into the worst case, until the worker is idle.

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/CommandTable.h"
#include "app/ExplorePanel.h"
#include "app/MainFrame.h"
#include "app/StageRuns.h"
#include "app/WidgetDialogHost.h"
#include "app/ZantrelApp.h"
#include "app/ZantrelDoc.h"
#include "quadtree/Quadtree.h"
#include "view/ZantrelView.h"

using namespace zantrel;

namespace {

// Notes when the picture is painted with the result of the awaited penalty.
class PaintWatch final : public QObject {
  public:
    explicit PaintWatch(const ZantrelDoc& doc) : m_doc(doc) {}
    void Await(double penalty) {
        m_penalty = penalty;
        m_painted = false;
    }
    bool Painted() const { return m_painted; }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && m_doc.Figures() &&
            m_doc.Figures()->penalty == m_penalty) {
            m_painted = true;
        }
        return false;
    }

  private:
    const ZantrelDoc& m_doc;
    double m_penalty = -1;
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

double Longest(const std::vector<double>& values) {
    return *std::ranges::max_element(values);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const int moves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
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
    for (int i = 0; i < std::max(1, moves / 10); ++i) {
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
    if (doc.Inputs().quadtree->tree.leaves.size() != 1)
        std::fprintf(stderr, "the worst case was split\n");

    // Esc 100 ms into the worst case: how long until the worker is idle again.
    std::vector<double> stops;
    for (int i = 0; i < std::max(1, moves / 10); ++i) {
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

    std::printf("slider move to picture on screen (ms), %d moves each:\n", moves);
    std::printf("  penalty 10:    median %.1f, longest %.1f\n", Median(toTen), Longest(toTen));
    std::printf("  penalty 1000:  median %.1f, longest %.1f\n", Median(toThousand),
                Longest(toThousand));
    std::printf("  worst case (one 512 block, penalty %.0f), %zu runs: median %.1f, longest %.1f\n",
                worstPenalty, worst.size(), Median(worst), Longest(worst));
    std::printf("  Esc 100 ms into the worst case, until idle: median %.1f, longest %.1f\n",
                Median(stops), Longest(stops));
    std::printf("longest event-loop stall beyond a 10 ms timer's period (ms):\n");
    std::printf("  during the moves %.1f, during the worst case %.1f\n", movesLongestStall,
                worstLongestStall);
    return 0;
}
