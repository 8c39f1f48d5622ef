#pragma once
// The application: makes the document and the main window, registers the shell the engine
// reports to, applies the interface language and runs the start-up. Commands never reach it:
// they run in the main window.

#include <QString>
#include <memory>
#include <optional>

#include "app/Language.h"
#include "app/QtShell.h"

class CDialogHost;
class CMainFrame;
class CZantrelDoc;
class QSettings;

class CZantrelApp final {
  public:
    // `profile` keeps the recent-file list and the language; `host` shows every modal dialog.
    // Both must outlive the application. Applies `language` for this run (not kept), else the
    // kept one, makes the frame (not yet shown) and registers the shell.
    CZantrelApp(QSettings& profile, CDialogHost& host,
                std::optional<Language> language = std::nullopt);
    ~CZantrelApp();
    CZantrelApp(const CZantrelApp&) = delete;
    CZantrelApp& operator=(const CZantrelApp&) = delete;

    // Start-up: shows the main window maximized, then opens `fileToOpen` when it is not
    // empty (a file that does not open is reported over the window and the program goes on
    // with no picture), otherwise starts a new document.
    void InitInstance(const QString& fileToOpen);

    CZantrelDoc& Doc() { return *m_doc; }
    CMainFrame& Frame() { return *m_frame; }
    CShell& Shell() { return m_shell; }

  private:
    CQtShell m_shell;
    std::unique_ptr<CZantrelDoc> m_doc;
    std::unique_ptr<CMainFrame> m_frame;
};
