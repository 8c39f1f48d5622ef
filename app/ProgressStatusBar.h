#pragma once
// The frame's status bar: the message pane (pane 0), the progress pane holding m_progress,
// and the caps-lock, num-lock and scroll-lock panes. It is also the engine's status bar:
// long stages set pane 0 and the progress position, and both repaint at once (the bar at most
// once a frame) because the stages run on the user-interface thread without returning to the
// event loop.

#include <QElapsedTimer>
#include <QStatusBar>

#include "platform/Shell.h"

class QLabel;
class QProgressBar;

class CProgressStatusBar final : public QStatusBar, public CStatusBar {
    Q_OBJECT
  public:
    explicit CProgressStatusBar(QWidget* parent = nullptr);

    QProgressBar* GetProgressCtrl() const { return m_progress; }
    // The text of pane 0 as it is shown when no menu prompt covers it.
    QString PaneText() const;

    void SetPaneText(std::string_view text) override;
    void SetProgressPos(int position) override;

  private:
    QLabel* m_messagePane;
    QProgressBar* m_progress;
    QElapsedTimer m_progressPainted;  // since the bar was last repainted
};
