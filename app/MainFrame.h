#pragma once
// The main window: menu bar, toolbar and status bar built from the command table, the view
// or the compare view in the middle, the explore panel docked beside it, and the enabling
// rules applied to every command's QAction whenever a menu is about to show, after every
// command, whenever the worker starts or ends and whenever the event loop falls idle. While the
// worker computes, the pictures show the wait cursor and the status bar a button that stops it.

#include <QMainWindow>
#include <map>
#include <vector>

class QMenu;
class QStackedWidget;
class QToolBar;

namespace zantrel {

class CompareView;
class ExplorePanel;
class PictureCanvas;
class ZantrelApp;
class ZantrelView;
class ProgressStatusBar;
struct CommandEntry;

class MainFrame final : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainFrame(ZantrelApp& app);

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

    void ToggleToolBar();
    void ToggleStatusBar();
    // Switches the middle of the window between the view and the compare view.
    void ToggleCompareView();
    void ToggleExplore();

  protected:
    void changeEvent(QEvent* event) override;
    // Closing stops the worker and waits for it.
    void closeEvent(QCloseEvent* event) override;
    // A picture file dropped on the window opens like a recent-file entry.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void Execute(const CommandEntry& command);
    void OpenRecentFile(int index);
    void OnBusyChanged(bool busy);

    ZantrelApp& m_app;
    ZantrelView* m_view;
    CompareView* m_compare;
    QStackedWidget* m_centre;
    ProgressStatusBar* m_statusBar;
    QToolBar* m_toolBar = nullptr;
    ExplorePanel* m_explore = nullptr;
    std::map<int, QAction*> m_actions;
    std::vector<QMenu*> m_menus;
    QMenu* m_languageMenu = nullptr;
};

}  // namespace zantrel
