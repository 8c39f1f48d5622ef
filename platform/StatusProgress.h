#pragma once
// The long stages' progress shown on a status bar: the stage's text in pane 0 and its
// position on the progress bar. Never cancels; front ends that can stop a command add that.

#include "picture/Progress.h"
#include "platform/Shell.h"

namespace zantrel {

class StatusProgress final : public Progress {
  public:
    // `statusBar` may be null: then nothing is shown.
    explicit StatusProgress(StatusDisplay* statusBar) : m_statusBar(statusBar) {}

    void SetText(std::string_view text) override {
        if (m_statusBar)
            m_statusBar->SetPaneText(text);
    }
    void SetPosition(int position) override {
        if (m_statusBar)
            m_statusBar->SetProgressPos(position);
    }
    bool Cancelled() const override { return false; }

  private:
    StatusDisplay* m_statusBar;
};

}  // namespace zantrel
