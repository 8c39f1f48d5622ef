#include "cli/TerminalShell.h"

#include <unistd.h>

#include <cstdio>

#include "platform/FileError.h"

CTerminalShell::CTerminalShell() : m_interactive(::isatty(STDERR_FILENO) == 1) {}

CTerminalShell::~CTerminalShell() {
    FinishProgress();
}

void CTerminalShell::ShowMessage(std::string_view text, std::string_view caption,
                                 MessageIcon icon) {
    if (icon == MessageIcon::Information) {
        m_figures[std::string(caption)] = std::string(text);
        return;
    }
    FinishProgress();
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
}

void CTerminalShell::ReportFileError(FileErrorCause cause, std::string_view fileName) {
    FinishProgress();
    std::fprintf(stderr, "%s\n", FileErrorText(cause, fileName).c_str());
}

void CTerminalShell::SetPaneText(std::string_view text) {
    m_paneText = text;
    Redraw();
}

void CTerminalShell::SetProgressPos(int position) {
    m_progress = position;
    Redraw();
}

std::string CTerminalShell::Figure(std::string_view caption) const {
    const auto found = m_figures.find(caption);
    return found == m_figures.end() ? std::string() : found->second;
}

void CTerminalShell::Redraw() {
    if (!m_interactive)
        return;
    std::fprintf(stderr, "\r\033[K%s %3d%%", m_paneText.c_str(), m_progress);
    std::fflush(stderr);
    m_lineOpen = true;
}

void CTerminalShell::FinishProgress() {
    if (!m_lineOpen)
        return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    m_lineOpen = false;
}
