#pragma once
// The status line of a sweep: the terminal's, with each stage's text preceded by the run it
// belongs to ("penalty 3 of 10 (5): 竖线穷举2").

#include <string>
#include <string_view>

#include "cli/TerminalShell.h"
#include "platform/Shell.h"

namespace zantrel {

class SweepProgress final : public StatusDisplay {
  public:
    explicit SweepProgress(TerminalShell& terminal) : m_terminal(terminal) {}

    // Starts run `index` (0-based) of `count`, under `penaltyText`.
    void StartRun(int index, int count, const std::string& penaltyText) {
        StartStep("penalty", index, count, penaltyText);
    }
    // The same for step `index` of `count` of `what` ("jpeg 3 of 11 (20):").
    void StartStep(std::string_view what, int index, int count, const std::string& settingText);
    // A stage of its own, outside any run ("optimised search:").
    void StartStage(std::string_view what);

    void SetPaneText(std::string_view text) override;
    void SetProgressPos(int position) override;

  private:
    TerminalShell& m_terminal;
    std::string m_prefix;
};

}  // namespace zantrel
