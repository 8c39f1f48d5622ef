#pragma once
// The status line of a sweep: the terminal's, with each stage's text preceded by the run it
// belongs to ("penalty 3 of 10 (5): 竖线穷举2").

#include <string>

#include "cli/TerminalShell.h"
#include "platform/Shell.h"

class CSweepProgress final : public CStatusBar {
  public:
    explicit CSweepProgress(CTerminalShell& terminal) : m_terminal(terminal) {}

    // Starts run `index` (0-based) of `count`, under `penaltyText`.
    void StartRun(int index, int count, const std::string& penaltyText);

    void SetPaneText(std::string_view text) override;
    void SetProgressPos(int position) override;

  private:
    CTerminalShell& m_terminal;
    std::string m_prefix;
};
