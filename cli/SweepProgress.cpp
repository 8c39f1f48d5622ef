#include "cli/SweepProgress.h"

namespace zantrel {

void SweepProgress::StartStep(std::string_view what, int index, int count,
                              const std::string& settingText) {
    m_prefix = what;
    m_prefix.append(" ")
        .append(std::to_string(index + 1))
        .append(" of ")
        .append(std::to_string(count))
        .append(" (")
        .append(settingText)
        .append("):");
    m_terminal.SetPaneText(m_prefix);
    m_terminal.SetProgressPos(0);
}

void SweepProgress::StartStage(std::string_view what) {
    m_prefix = what;
    m_prefix.append(":");
    m_terminal.SetPaneText(m_prefix);
    m_terminal.SetProgressPos(0);
}

void SweepProgress::SetPaneText(std::string_view text) {
    std::string line = m_prefix;
    line.append(" ").append(text);
    m_terminal.SetPaneText(line);
}

void SweepProgress::SetProgressPos(int position) {
    m_terminal.SetProgressPos(position);
}

}  // namespace zantrel
