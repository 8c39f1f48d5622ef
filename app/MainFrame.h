#pragma once
// The main window, and the context every command runs in: it holds the document and the
// dialog host, and owns the view (or the compare view) in the middle, the explore panel docked
// beside it, the menu bar, toolbar and status bar built from the command tables, the recent-file
// list and the workers the long stages run on. It follows the document through its signals:
// it shows each change's picture, titles the window after the file and applies the enabling
// rules to every command's QAction, as it also does whenever a menu is about to show, after
// every command, whenever the worker starts or ends and whenever the event loop falls idle.
// While the worker computes, the pictures show the wait cursor and the status bar a button
// that stops it.

#include <QMainWindow>
#include <map>
#include <memory>
#include <span>
#include <vector>

#include "app/CommandTable.h"
#include "app/Language.h"
#include "app/RecentFileList.h"
#include "app/ZantrelDoc.h"

class QMenu;
class QSettings;
class QStackedWidget;
class QToolBar;

namespace zantrel {

class CompareView;
class DialogHost;
class ExplorePanel;
class PictureCanvas;
class ProgressStatusBar;
class StageRuns;
class ZantrelView;
enum class DocumentStage;

class MainFrame final : public QMainWindow {
    Q_OBJECT
  public:
    // `doc`, `host` (every modal dialog) and `profile` (the recent-file list and the language)
    // must outlive the window; `handlers` gives each command of the command table its handler.
    MainFrame(ZantrelDoc& doc, DialogHost& host, QSettings& profile,
              std::span<const CommandBinding> handlers);
    ~MainFrame() override;

    ZantrelDoc& Doc() const { return m_doc; }
    DialogHost& Host() const { return m_host; }
    StageRuns& Runs() const { return *m_runs; }
    RecentFileList& RecentFiles() { return m_recentFiles; }
    ZantrelView& View() const { return *m_view; }
    CompareView& ComparePanes() const { return *m_compare; }
    bool CompareShown() const;
    // What the zoom commands zoom: the view, or the compare view's panes while it is shown.
    PictureCanvas& ActiveCanvas() const;
    ProgressStatusBar& StatusBar() const { return *m_statusBar; }
    QToolBar& ToolBar() const { return *m_toolBar; }
    ExplorePanel& Explore() const { return *m_explore; }
    // The menus of the menu bar, left to right, and the View menu's language submenu.
    const std::vector<QMenu*>& Menus() const { return m_menus; }
    QMenu& LanguageMenu() const { return *m_languageMenu; }
    // The action of a command or of a recent-file entry (57616 … 57619); nullptr if none.
    QAction* Action(int id) const;

    // Sets every command's enabled state from its rule, and the toolbar and status-bar
    // items' check marks from what is shown.
    void UpdateActions();
    // Shows the recent-file list at its place in the File menu.
    void UpdateRecentFileMenu();
    // Sets every text of the window again in the interface's language: the commands, the
    // menus, the status bar, the explore panel, the compare view and the caption.
    void Retranslate();
    // "<file name> - <caption>", or for the untitled document "<its name> - <caption>";
    // nothing before the first document.
    void UpdateTitle();

    // Ctrl+N: a new untitled document; the view shows its pictures again.
    void NewDocument();
    // Shows why a file did not open, when it did not; whether it opened. A picture refused by
    // the original BMP rules (`originalRules`) that the import reads gets a line pointing
    // there.
    bool ReportOpen(const ZantrelDoc::OpenResult& result, bool originalRules = false);
    // Opens `path` through `open` and reports it as ReportOpen does. A file that claims more
    // pixels than kDefaultMaxPixels opens only when the user says so, told the memory and time
    // it takes; memory running out leaves the document as it was and says so.
    enum class OpenOutcome { Opened, Declined, NotOpened };
    OpenOutcome Open(const QString& path,
                     ZantrelDoc::OpenResult (ZantrelDoc::*open)(const QString&),
                     bool originalRules = false);
    // The message box of memory running out for a picture of `width` x `height` that needs
    // `bytes`.
    void ReportOutOfMemory(long long width, long long height, std::uint64_t bytes);
    // Opens `path` the way recent files, drops and the command line do (see
    // ZantrelDoc::OnOpenDocument), showing why when it does not open; whether it opened.
    bool OpenDocument(const QString& path);
    // Opens entry `index` of the recent-file list; an entry that no longer opens is dropped.
    void OpenRecentFile(int index);
    // Shows the interface in `language` at once; `remember` keeps it in the profile for the
    // next start (the menu's choice), otherwise it holds for this run only (--lang).
    void SetLanguage(Language language, bool remember = true);
    void ShowAbout();
    void ToggleToolBar();
    void ToggleStatusBar();
    // Switches the middle of the window between the view and the compare view.
    void ToggleCompareView();
    void ToggleExplore();

  protected:
    // Esc reaches the cancel command wherever the focus is in the window, the menu bar's
    // keyboard mode included.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Closing stops the workers and waits for them.
    void closeEvent(QCloseEvent* event) override;
    // The picture keeps at least half the window's width; the explore dock scrolls instead.
    void resizeEvent(QResizeEvent* event) override;
    // A picture file dropped on the window opens like a recent-file entry.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void CreateActions(std::span<const CommandBinding> handlers);
    void CreateMenus();
    void CreateToolBar();
    // Keeps the picture its half of the window; `toContent` fits the dock to its content anew.
    void FitExplore(bool toContent = false);
    // OpenDocument's way of opening, telling a declined question from a failure.
    OpenOutcome OpenAsDocument(const QString& path);
    void Execute(CommandHandler handler);
    void OnBusyChanged(bool busy);
    // The document's signals: an opened file is remembered and shown (a picture in mode 1, a
    // decoded file in mode 5 with its size on the status bar), a stage's picture is shown.
    void OnDocumentOpened();
    void OnStageChanged(DocumentStage stage);

    ZantrelDoc& m_doc;
    DialogHost& m_host;
    QSettings& m_profile;
    RecentFileList m_recentFiles;
    // Stopped before the widgets go, which their runs report to.
    std::unique_ptr<StageRuns> m_runs;
    ZantrelView* m_view;
    CompareView* m_compare;
    QStackedWidget* m_centre;
    ProgressStatusBar* m_statusBar;
    QToolBar* m_toolBar = nullptr;
    ExplorePanel* m_explore = nullptr;
    std::map<int, QAction*> m_actions;
    std::vector<QMenu*> m_menus;
    QMenu* m_languageMenu = nullptr;
    bool m_exploreNarrowed = false;  // the dock is narrower than it wants, for the picture
};

}  // namespace zantrel
