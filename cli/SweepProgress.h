#pragma once
// The shell a sweep registers: everything goes to the terminal shell, and the status text
// of each stage is preceded by the run it belongs to ("penalty 3 of 10 (5): 竖线穷举2").

#include <string>

#include "cli/TerminalShell.h"
#include "platform/Shell.h"

class CSweepProgress final : public CShell, public CStatusBar {
  public:
    explicit CSweepProgress(CTerminalShell& terminal) : m_terminal(terminal) {}

    // Starts run `index` (0-based) of `count`, under `penaltyText`.
    void StartRun(int index, int count, const std::string& penaltyText);

    CStatusBar* StatusBar() override { return this; }
    void ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) override;
    void ReportFileError(FileErrorCause cause, std::string_view fileName) override;
    void SetPaneText(std::string_view text) override;
    void SetProgressPos(int position) override;

  private:
    CTerminalShell& m_terminal;
    std::string m_prefix;
};
