#pragma once
// The engine's shell layer in the desktop application: the frame's status bar for pane 0 and
// the progress bar, and message boxes through the dialog host.

#include "platform/Shell.h"

class CDialogHost;

class CQtShell final : public CShell {
  public:
    explicit CQtShell(CDialogHost& host) : m_host(host) {}

    // The frame's status bar, once the frame exists.
    void SetStatusBar(CStatusBar* statusBar) { m_statusBar = statusBar; }

    CStatusBar* StatusBar() override { return m_statusBar; }
    void ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) override;
    // Shown as a message box captioned with the application's name.
    void ReportFileError(FileErrorCause cause, std::string_view fileName) override;

  private:
    CDialogHost& m_host;
    CStatusBar* m_statusBar = nullptr;
};
