#pragma once
// The application object: owns the document, the main frame, the shell the engine reports
// to and the workers the long stages run on, keeps the recent-file list in the profile, and
// runs the start-up.

#include <QString>
#include <memory>
#include <optional>

#include "app/BackgroundRun.h"
#include "app/Language.h"
#include "app/QtShell.h"
#include "app/RecentFileList.h"

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

    // The document-open path of recent files, drops and the command line; true when the
    // picture was loaded.
    bool OpenDocumentFile(const QString& path);
    // Opens entry `index` of the recent-file list; an entry that no longer opens is dropped.
    void OnOpenRecentFile(int index);
    void AddToRecentFileList(const QString& path);
    void OnAppAbout();
    // Shows the interface in `language` at once; `remember` keeps it in the profile for the
    // next start (the menu's choice), otherwise it holds for this run only (--lang).
    void SetLanguage(Language language, bool remember = true);

    // The worker of the commands and the explore panel's runs: while it is busy the
    // processing commands are off.
    BackgroundRun& Runs() { return m_runs; }
    // The worker of the explore panel's rate–distortion curve, beside the other.
    BackgroundRun& CurveRuns() { return m_curveRuns; }
    // Stops both workers and waits for them; nothing they made is applied.
    void StopRuns();
    // Runs the event loop until both workers are idle and their results applied.
    void WaitForIdle();

    RecentFileList& RecentFiles() { return m_recentFiles; }
    ZantrelDoc& Doc() { return *m_doc; }
    MainFrame& Frame() { return *m_frame; }
    DialogHost& Host() { return m_host; }
    Shell& UserShell() { return m_shell; }

  private:
    QSettings& m_profile;
    DialogHost& m_host;
    RecentFileList m_recentFiles;
    QtShell m_shell;
    BackgroundRun m_runs;
    BackgroundRun m_curveRuns;
    std::unique_ptr<ZantrelDoc> m_doc;
    std::unique_ptr<MainFrame> m_frame;
};

}  // namespace zantrel
