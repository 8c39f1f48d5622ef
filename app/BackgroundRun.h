#pragma once
// Runs the long stages away from the user-interface thread, one job at a time, so the window
// keeps repainting. A job gets a Progress whose texts and positions reach the status bar on the
// user-interface thread, in the order the job made them, and whose Cancelled() turns true once
// the job is cancelled or overtaken by a newer one. What a job returns is applied on the
// user-interface thread, and only when the job ran to its end uncancelled: a stopped or
// outdated job changes nothing. Whatever the worker hands over (reports, the result) passes
// under a lock of the job's own; the event loop only carries the call that collects it.

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "picture/Progress.h"
#include "platform/Shell.h"

namespace zantrel {

class BackgroundRun final : public QObject {
    Q_OBJECT
  public:
    // Applied on the user-interface thread; empty when the job stopped.
    using Apply = std::function<void()>;
    using Job = std::function<Apply(Progress& progress)>;

    explicit BackgroundRun(QObject* parent = nullptr);
    // Cancels and waits for the running job, reporting nothing.
    ~BackgroundRun() override;
    BackgroundRun(const BackgroundRun&) = delete;
    BackgroundRun& operator=(const BackgroundRun&) = delete;

    // Runs `job`, reporting to `statusBar` (may be null). The newest request wins: a job still
    // running is cancelled and `job` starts once it has ended; a job waiting for that is
    // dropped.
    void Start(Job job, StatusDisplay* statusBar);
    // Stops the running and the waiting job; returns at once. The status bar falls idle when
    // the job has ended.
    void Cancel();
    // Stops them and waits for the worker: on return nothing runs and nothing will be applied.
    void CancelAndWait();
    bool Busy() const { return m_running != nullptr; }
    // Runs the event loop until no job runs or waits and the last one was applied.
    void WaitForIdle();

  Q_SIGNALS:
    void BusyChanged(bool busy);
    // A job ended: `applied` when its result was applied, false when it stopped or was dropped.
    void JobEnded(bool applied);
    // A job or its application threw; nothing was applied. `outOfMemory` when memory ran out.
    void Failed(bool outOfMemory);

  private:
    class JobProgress;
    struct Running;
    struct Waiting {
        Job job;
        StatusDisplay* statusBar;
    };

    void Launch(Job job, StatusDisplay* statusBar);
    // On the user-interface thread, called by the running job's worker: shows the job's reports
    // unless it was stopped, and ends the job once its worker has returned.
    Q_INVOKABLE void Collect();
    void Finished(const Apply& apply, bool failed, bool outOfMemory);
    void ShowIdle(StatusDisplay* statusBar);

    std::unique_ptr<Running> m_running;
    std::optional<Waiting> m_waiting;
};

}  // namespace zantrel
