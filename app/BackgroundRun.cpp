#include "app/BackgroundRun.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <atomic>
#include <exception>
#include <string>

#include "view/AppTexts.h"

namespace zantrel {

// The job's progress: cancel flag for every thread, reports queued to the user-interface
// thread. The stages report far more often than the text or position changes, so a report
// equal to the one before is not sent again.
class BackgroundRun::JobProgress final : public Progress {
  public:
    JobProgress(BackgroundRun& run, StatusDisplay* statusBar, std::uint64_t id)
        : m_run(run), m_statusBar(statusBar), m_id(id) {}

    void SetText(std::string_view text) override {
        if (!m_statusBar || (m_textSent && text == m_text))
            return;
        m_text.assign(text);
        m_textSent = true;
        Post([text = m_text](StatusDisplay& bar) { bar.SetPaneText(text); });
    }
    void SetPosition(int position) override {
        if (!m_statusBar || position == m_position)
            return;
        m_position = position;
        Post([position](StatusDisplay& bar) { bar.SetProgressPos(position); });
    }
    bool Cancelled() const override { return m_cancelled.load(std::memory_order_relaxed); }
    void Cancel() { m_cancelled.store(true, std::memory_order_relaxed); }

  private:
    template <typename Report>
    void Post(Report report) {
        // Queued to the run object, like the job's end, so the reports arrive before it.
        QMetaObject::invokeMethod(
            &m_run,
            [run = &m_run, bar = m_statusBar, id = m_id, report] {
                if (run->Reporting(id))
                    report(*bar);
            },
            Qt::QueuedConnection);
    }

    BackgroundRun& m_run;
    StatusDisplay* const m_statusBar;
    const std::uint64_t m_id;
    std::atomic<bool> m_cancelled{false};
    // Touched only by the thread that runs the job.
    std::string m_text;
    bool m_textSent = false;
    int m_position = -1;
};

struct BackgroundRun::Running {
    std::uint64_t id;
    StatusDisplay* statusBar;
    std::unique_ptr<JobProgress> progress;
    std::thread worker;
};

BackgroundRun::BackgroundRun(QObject* parent) : QObject(parent) {}

BackgroundRun::~BackgroundRun() {
    // Quietly: the status bar and the listeners may be gone already.
    m_waiting.reset();
    if (m_running) {
        m_running->progress->Cancel();
        m_running->worker.join();
    }
}

void BackgroundRun::Start(Job job, StatusDisplay* statusBar) {
    if (m_running) {
        m_running->progress->Cancel();
        m_waiting = Waiting{std::move(job), statusBar};
        return;
    }
    Launch(std::move(job), statusBar);
    Q_EMIT BusyChanged(true);
}

void BackgroundRun::Launch(Job job, StatusDisplay* statusBar) {
    auto running = std::make_unique<Running>();
    running->id = ++m_lastId;
    running->statusBar = statusBar;
    running->progress = std::make_unique<JobProgress>(*this, statusBar, running->id);
    Progress& progress = *running->progress;
    running->worker = std::thread([this, id = running->id, job = std::move(job), &progress] {
        Apply apply;
        bool failed = false;
        try {
            apply = job(progress);
        } catch (const std::exception&) {
            failed = true;
        }
        QMetaObject::invokeMethod(
            this, [this, id, apply = std::move(apply), failed] { Finished(id, apply, failed); },
            Qt::QueuedConnection);
    });
    m_running = std::move(running);
}

void BackgroundRun::Finished(std::uint64_t id, const Apply& apply, bool failed) {
    // A job already waited for by CancelAndWait has been dealt with.
    if (!m_running || m_running->id != id)
        return;
    m_running->worker.join();
    const bool stopped = m_running->progress->Cancelled();
    StatusDisplay* const statusBar = m_running->statusBar;
    m_running.reset();

    bool applied = false;
    if (!stopped && !failed && apply) {
        try {
            apply();
            applied = true;
        } catch (const std::exception&) {
            failed = true;
        }
    }
    // The next job starts before anyone hears of this one's end: a listener may run the event
    // loop (a message box), and a request made there must find it running.
    const bool next = m_waiting.has_value();
    if (next) {
        Waiting waiting = std::move(*m_waiting);
        m_waiting.reset();
        Launch(std::move(waiting.job), waiting.statusBar);
    } else if (stopped) {
        ShowIdle(statusBar);
    }
    Q_EMIT JobEnded(applied);
    if (failed && !stopped)
        Q_EMIT Failed();
    if (!next)
        Q_EMIT BusyChanged(Busy());
}

void BackgroundRun::Cancel() {
    m_waiting.reset();
    if (m_running)
        m_running->progress->Cancel();
}

void BackgroundRun::CancelAndWait() {
    m_waiting.reset();
    if (!m_running)
        return;
    m_running->progress->Cancel();
    m_running->worker.join();
    StatusDisplay* const statusBar = m_running->statusBar;
    m_running.reset();
    ShowIdle(statusBar);
    Q_EMIT JobEnded(false);
    Q_EMIT BusyChanged(false);
}

void BackgroundRun::WaitForIdle() {
    while (m_running)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

bool BackgroundRun::Reporting(std::uint64_t id) const {
    return m_running && m_running->id == id && !m_running->progress->Cancelled();
}

void BackgroundRun::ShowIdle(StatusDisplay* statusBar) {
    if (!statusBar)
        return;
    statusBar->SetProgressPos(0);
    statusBar->SetPaneText(AppText(kIdleText).toStdString());
}

}  // namespace zantrel
