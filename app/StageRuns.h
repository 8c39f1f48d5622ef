#pragma once
// The workers the long stages run on, and the one place where a run of them is set up: the
// run's inputs are taken from the document on the user-interface thread as shared values the
// document never changes, the stages run on a worker from those alone, and the outputs become
// the document's back on the user-interface thread, only when the run was neither stopped nor
// overtaken (see BackgroundRun). A new gray picture stops every run: what they would make
// belongs to the picture before.

#include <QObject>
#include <cstdint>
#include <functional>
#include <vector>

#include "app/BackgroundRun.h"
#include "app/StageJob.h"
#include "measure/RunFigures.h"

namespace zantrel {

class ZantrelDoc;

class StageRuns final : public QObject {
    Q_OBJECT
  public:
    // `doc` must outlive the runs.
    explicit StageRuns(ZantrelDoc& doc);

    // Runs `request` on the document's pictures, reporting to the shell's status bar; the
    // newest request wins. The document changes only when the run is done. A run that needs
    // more memory than the process can get does not start: NotEnoughMemory says so.
    void Start(const StageRequest& request);
    // A step of a slider: like Start, but a step still running is not stopped. It is shown,
    // and then the newest step that came meanwhile runs; the ones between are dropped. So a
    // fast drag shows pictures along the way, not only the last.
    void Step(const StageRequest& request);
    // The rate–distortion curve of the gray picture at `minBlockSize` in `mode`, on a worker
    // of its own beside the other; `done` gets the curve's figures on the user-interface
    // thread.
    void StartCurve(std::int32_t minBlockSize, RunMode mode,
                    std::function<void(const std::vector<RunFigures>&)> done);

    // The worker of the commands and the explore panel's runs: while it is busy the
    // processing commands are off.
    BackgroundRun& Stages() { return m_stages; }
    const BackgroundRun& Stages() const { return m_stages; }
    // The worker of the explore panel's rate–distortion curve.
    BackgroundRun& Curve() { return m_curve; }
    bool Busy() const { return m_stages.Busy(); }
    // Stops both workers and waits for them; nothing they made is applied. The optimised
    // mode's search goes with them.
    void StopAll();
    // The optimised mode's kept search; read it only while the workers are idle.
    const OptimiserCache& Optimised() const { return m_optimised; }
    // What the rate target of the run last applied came to; nothing when that run had none.
    const std::optional<RateOutcome>& LastRate() const { return m_lastRate; }
    // Runs the event loop until both workers are idle and their results applied.
    void WaitForIdle();

    // What the newest run started here needs at most, for the message when memory runs out.
    struct MemoryNeed {
        int width = 0;
        int height = 0;
        std::uint64_t bytes = 0;
    };
    const MemoryNeed& LastNeed() const { return m_lastNeed; }

  Q_SIGNALS:
    // A run with a rate target is being applied, just before the document takes its result.
    void RateApplied(const RateOutcome& outcome);
    // A run was not started: it needs LastNeed(), more than the memory available.
    void NotEnoughMemory();

  private:
    void OnJobEnded(bool applied);

    ZantrelDoc& m_doc;
    MemoryNeed m_lastNeed;
    std::optional<RateOutcome> m_lastRate;
    bool m_stepRunning = false;              // the job on the stages' worker is a step
    std::optional<StageRequest> m_nextStep;  // the newest step waiting for it
    // The search memory of the stages' worker, whose runs follow one another; declared before
    // the workers, so that they have stopped before it goes.
    LineSearchWorkspace m_search;
    OptimiserCache m_optimised;
    BackgroundRun m_stages;
    BackgroundRun m_curve;
};

}  // namespace zantrel
