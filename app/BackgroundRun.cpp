#include "app/BackgroundRun.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <atomic>
#include <exception>
#include <mutex>
#include <new>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "view/AppTexts.h"

namespace zantrel {

// The job's progress: a cancel flag for every thread, and a mailbox the worker fills and the
// user-interface thread empties, both under the mailbox's lock. The stages report far more
// often than the text or position changes, so a report equal to the one before is not sent
// again, and one call to collect the mail is on its way at a time.
class BackgroundRun::JobProgress final : public Progress {
  public:
    using Report = std::variant<std::string, int>;  // a text, or a position
    struct Mail {
        std::vector<Report> reports;  // in the order the job made them
        bool ended = false;           // the worker returned; the rest is its outcome
        Apply apply;
        bool failed = false;
        bool outOfMemory = false;  // the failure was memory running out
    };

    JobProgress(BackgroundRun& run, bool reporting) : m_run(run), m_reporting(reporting) {}

    void SetText(std::string_view text) override {
        if (!m_reporting || (m_textSent && text == m_text))
            return;
        m_text.assign(text);
        m_textSent = true;
        Post([&](Mail& mail) { mail.reports.emplace_back(m_text); });
    }
    void SetPosition(int position) override {
        if (!m_reporting || position == m_position)
            return;
        m_position = position;
        Post([&](Mail& mail) { mail.reports.emplace_back(position); });
    }
    bool Cancelled() const override { return m_cancelled.load(std::memory_order_relaxed); }
    void Cancel() { m_cancelled.store(true, std::memory_order_relaxed); }

    // The worker's last word: what the job returned, or that it threw.
    void End(Apply apply, bool failed, bool outOfMemory) {
        Post([&](Mail& mail) {
            mail.ended = true;
            mail.apply = std::move(apply);
            mail.failed = failed;
            mail.outOfMemory = outOfMemory;
        });
    }
    // On the user-interface thread: everything posted since the last call.
    Mail Take() {
        const std::lock_guard lock(m_lock);
        m_collecting = false;
        return std::exchange(m_mail, Mail());
    }

  private:
    template <typename Write>
    void Post(Write write) {
        const std::lock_guard lock(m_lock);
        write(m_mail);
        if (!m_collecting) {
            m_collecting = true;
            QMetaObject::invokeMethod(&m_run, "Collect", Qt::QueuedConnection);
        }
    }

    BackgroundRun& m_run;
    const bool m_reporting;
    std::atomic<bool> m_cancelled{false};
    std::mutex m_lock;
    Mail m_mail;                // under m_lock
    bool m_collecting = false;  // under m_lock: a call to Collect is on its way
    // Touched only by the thread that runs the job.
    std::string m_text;
    bool m_textSent = false;
    int m_position = -1;
};

struct BackgroundRun::Running {
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
    running->statusBar = statusBar;
    running->progress = std::make_unique<JobProgress>(*this, statusBar != nullptr);
    JobProgress& progress = *running->progress;
    running->worker = std::thread([job = std::move(job), &progress] {
        Apply apply;
        bool failed = false;
        bool outOfMemory = false;
        try {
            apply = job(progress);
        } catch (const std::bad_alloc&) {
            failed = outOfMemory = true;
        } catch (const std::exception&) {
            failed = true;
        }
        progress.End(std::move(apply), failed, outOfMemory);
    });
    m_running = std::move(running);
}

void BackgroundRun::Collect() {
    // A call from a job already waited for by CancelAndWait finds the next one, or none.
    if (!m_running)
        return;
    JobProgress::Mail mail = m_running->progress->Take();
    if (m_running->statusBar && !m_running->progress->Cancelled()) {
        for (const JobProgress::Report& report : mail.reports) {
            if (const std::string* text = std::get_if<std::string>(&report))
                m_running->statusBar->SetPaneText(*text);
            else
                m_running->statusBar->SetProgressPos(std::get<int>(report));
        }
    }
    if (mail.ended)
        Finished(mail.apply, mail.failed, mail.outOfMemory);
}

void BackgroundRun::Finished(const Apply& apply, bool failed, bool outOfMemory) {
    m_running->worker.join();
    const bool stopped = m_running->progress->Cancelled();
    StatusDisplay* const statusBar = m_running->statusBar;
    m_running.reset();

    bool applied = false;
    if (!stopped && !failed && apply) {
        try {
            apply();
            applied = true;
        } catch (const std::bad_alloc&) {
            failed = outOfMemory = true;
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
        Q_EMIT Failed(outOfMemory);
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

void BackgroundRun::ShowIdle(StatusDisplay* statusBar) {
    if (!statusBar)
        return;
    statusBar->SetProgressPos(0);
    statusBar->SetPaneText(AppText(kIdleText).toStdString());
}

}  // namespace zantrel
