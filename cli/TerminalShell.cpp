#include "cli/TerminalShell.h"

#include <unistd.h>

#include <cstdio>

#include "cli/QuotedName.h"
#include "import/MessageTranslation.h"
#include "platform/FileError.h"

namespace zantrel {

TerminalShell::TerminalShell() : m_interactive(::isatty(STDERR_FILENO) == 1) {}

TerminalShell::~TerminalShell() {
    FinishProgress();
}

void TerminalShell::ShowMessage(std::string_view text, std::string_view, MessageIcon) {
    FinishProgress();
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
}

void TerminalShell::ReportFileError(FileErrorCause cause, std::string_view fileName) {
    FinishProgress();
    std::fprintf(stderr, "%s\n", FileErrorText(cause, QuotedName(std::string(fileName))).c_str());
}

void TerminalShell::SetPaneText(std::string_view text) {
    m_paneText = TranslateStageText(text);
    Redraw();
}

void TerminalShell::SetProgressPos(int position) {
    m_progress = position;
    Redraw();
}

void TerminalShell::Redraw() {
    if (!m_interactive)
        return;
    std::fprintf(stderr, "\r\033[K%s %3d%%", m_paneText.c_str(), m_progress);
    std::fflush(stderr);
    m_lineOpen = true;
}

void TerminalShell::FinishProgress() {
    if (!m_lineOpen)
        return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    m_lineOpen = false;
}

}  // namespace zantrel
