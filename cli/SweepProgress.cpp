#include "cli/SweepProgress.h"

void CSweepProgress::StartRun(int index, int count, const std::string& penaltyText) {
    m_prefix = "penalty ";
    m_prefix.append(std::to_string(index + 1))
        .append(" of ")
        .append(std::to_string(count))
        .append(" (")
        .append(penaltyText)
        .append("):");
    m_terminal.SetPaneText(m_prefix);
    m_terminal.SetProgressPos(0);
}

void CSweepProgress::SetPaneText(std::string_view text) {
    std::string line = m_prefix;
    line.append(" ").append(text);
    m_terminal.SetPaneText(line);
}

void CSweepProgress::SetProgressPos(int position) {
    m_terminal.SetProgressPos(position);
}
