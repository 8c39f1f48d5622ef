#pragma once
// Runs the long stages away from the user-interface thread, one job at a time, so the window
// keeps repainting. A job gets a Progress whose texts and positions reach the status bar
// through queued calls, in the order the job made them, and whose Cancelled() turns true once
// the job is cancelled or overtaken by a newer one. What a job returns is applied on the
// user-interface thread, and only when the job ran to its end uncancelled: a stopped or
// outdated job changes nothing.

#include <QObject>
#include <cstdint>
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
    // A job or its application threw (out of memory, say); nothing was applied.
    void Failed();

  private:
    class JobProgress;
    struct Running;
    struct Waiting {
        Job job;
        StatusDisplay* statusBar;
    };

    void Launch(Job job, StatusDisplay* statusBar);
    // On the user-interface thread, after the worker of job `id` has returned.
    void Finished(std::uint64_t id, const Apply& apply, bool failed);
    // Whether reports of job `id` should still be shown.
    bool Reporting(std::uint64_t id) const;
    void ShowIdle(StatusDisplay* statusBar);

    std::unique_ptr<Running> m_running;
    std::optional<Waiting> m_waiting;
    std::uint64_t m_lastId = 0;
};

}  // namespace zantrel
