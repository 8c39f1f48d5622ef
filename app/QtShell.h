#pragma once
// The engine's shell layer in the desktop application: the frame's status bar for pane 0 and
// the progress bar, and message boxes through the dialog host.

#include "platform/Shell.h"

namespace zantrel {

class DialogHost;

class QtShell final : public Shell {
  public:
    explicit QtShell(DialogHost& host) : m_host(host) {}

    // The frame's status bar, once the frame exists.
    void SetStatusBar(StatusDisplay* statusBar) { m_statusBar = statusBar; }

    StatusDisplay* StatusBar() override { return m_statusBar; }
    void ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) override;
    // Shown as a message box captioned with the application's name.
    void ReportFileError(FileErrorCause cause, std::string_view fileName) override;

  private:
    DialogHost& m_host;
    StatusDisplay* m_statusBar = nullptr;
};

}  // namespace zantrel
