#pragma once
// The application: makes the document and the main window, registers the shell the engine
// reports to, applies the interface language and runs the start-up. Commands never reach it:
// they run in the main window.

#include <QString>
#include <memory>
#include <optional>

#include "app/Language.h"
#include "app/QtShell.h"

class QSettings;

namespace zantrel {

class DialogHost;
class MainFrame;
class ZantrelDoc;

class ZantrelApp final {
  public:
    // `profile` keeps the recent-file list and the language; `host` shows every modal dialog.
    // Both must outlive the application. Applies `language` for this run (not kept), else the
    // kept one, makes the frame (not yet shown) and registers the shell.
    ZantrelApp(QSettings& profile, DialogHost& host,
               std::optional<Language> language = std::nullopt);
    ~ZantrelApp();
    ZantrelApp(const ZantrelApp&) = delete;
    ZantrelApp& operator=(const ZantrelApp&) = delete;

    // Start-up: shows the main window maximized, then opens `fileToOpen` when it is not
    // empty (a file that does not open is reported over the window and the program goes on
    // with no picture), otherwise starts a new document.
    void InitInstance(const QString& fileToOpen);

    ZantrelDoc& Doc() { return *m_doc; }
    MainFrame& Frame() { return *m_frame; }
    Shell& UserShell() { return m_shell; }

  private:
    QtShell m_shell;
    std::unique_ptr<ZantrelDoc> m_doc;
    std::unique_ptr<MainFrame> m_frame;
};

}  // namespace zantrel
