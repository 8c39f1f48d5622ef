#pragma once
// The frame's status bar: the message pane (pane 0), the pane of the block under the pointer,
// while a command computes the progress pane holding m_progress and a button that stops it,
// and the caps-lock, num-lock and scroll-lock panes. It is also the engine's status bar: long
// stages set pane 0 and the progress position, through queued calls from the worker they run
// on.

#include <QElapsedTimer>
#include <QStatusBar>
#include <functional>
#include <vector>

#include "app/TimeLeft.h"
#include "platform/Shell.h"

class QAction;
class QLabel;
class QProgressBar;
class QToolButton;

namespace zantrel {

class ProgressStatusBar final : public QStatusBar, public StatusDisplay {
    Q_OBJECT
  public:
    explicit ProgressStatusBar(QWidget* parent = nullptr);

    QProgressBar* GetProgressCtrl() const { return m_progress; }
    // The time left of the running stage, told from its progress so far once a second and a
    // few percent have passed, steadied (TimeLeft); empty before.
    QString RemainingText() const;
    // The clock the time left is told by, in milliseconds; a steady clock unless a test
    // scripts one.
    void SetClock(std::function<qint64()> clock);
    // The text of pane 0 as it is shown when no menu prompt covers it.
    QString PaneText() const;

    void SetPaneText(std::string_view text) override;
    void SetProgressPos(int position) override;

    // The block under the pointer, in a pane of its own so that it never covers a stage's
    // text; empty for none.
    void SetHoverText(const QString& text);
    QString HoverText() const;
    QLabel* HoverPane() const { return m_hoverPane; }

    // A button for `action` right of the progress pane, hidden until ShowCancelButton.
    void AddCancelButton(QAction* action);
    // While work runs: the progress pane and the cancel button show, and a menu prompt gives
    // pane 0 back to the stage's text rather than to the idle text.
    void ShowCancelButton(bool shown);
    QToolButton* CancelButton() const { return m_cancelButton; }
    // The lock-key panes' texts in the interface's language; pane 0 goes back to the idle
    // text, as a message in the other language would be out of place.
    void Retranslate();
    // The lock-key panes, left to right.
    const std::vector<QLabel*>& IndicatorPanes() const { return m_indicators; }

  private:
    QLabel* m_messagePane;
    QLabel* m_hoverPane;
    QProgressBar* m_progress;
    // The time-left pane is as wide as its widest text, so that the panes beside it stay put.
    void FitRemainingPane();
    void RestartTimeLeft();

    QLabel* m_remaining;
    QElapsedTimer m_steadyClock;
    std::function<qint64()> m_clock;
    TimeLeft m_timeLeft;  // since the stage's progress last started from the beginning
    bool m_timing = false;
    bool m_running = false;
    QString m_stageText;  // pane 0's own text, which a menu prompt only covers
    QToolButton* m_cancelButton = nullptr;
    std::vector<QLabel*> m_indicators;
};

}  // namespace zantrel
