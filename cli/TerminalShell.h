#pragma once
// The shell layer on a terminal: progress on stderr (only when stderr is a terminal),
// messages and file errors on stderr.

#include <string>

#include "platform/Shell.h"

namespace zantrel {

class TerminalShell final : public Shell, public StatusDisplay {
  public:
    TerminalShell();
    ~TerminalShell() override;

    StatusDisplay* StatusBar() override { return this; }
    void ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) override;
    void ReportFileError(FileErrorCause cause, std::string_view fileName) override;
    void SetPaneText(std::string_view text) override;
    void SetProgressPos(int position) override;

    // Ends the progress line so that later output starts on a fresh line.
    void FinishProgress();

  private:
    void Redraw();
    bool m_interactive;
    bool m_lineOpen = false;
    std::string m_paneText;
    int m_progress = 0;
};

}  // namespace zantrel
