#include "app/MainFrame.h"

#include <QAbstractEventDispatcher>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStackedWidget>
#include <QToolBar>
#include <exception>

#include "app/CommandTable.h"
#include "app/ExplorePanel.h"
#include "app/Language.h"
#include "app/ProgressStatusBar.h"
#include "app/RecentFileList.h"
#include "app/ToolIcons.h"
#include "app/ZantrelApp.h"
#include "app/ZantrelDoc.h"
#include "view/AppTexts.h"
#include "view/CompareView.h"
#include "view/ZantrelView.h"

namespace zantrel {

namespace {

// The first local file among dropped URLs, or an empty string.
QString FirstLocalFile(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

}  // namespace

MainFrame::MainFrame(ZantrelApp& app)
    : m_app(app),
      m_view(new ZantrelView(app.Host(), app.Doc().Pictures(), this)),
      m_compare(new CompareView(app.Doc().Pictures(), this)),
      m_centre(new QStackedWidget(this)),
      m_statusBar(new ProgressStatusBar(this)) {
    m_centre->addWidget(m_view);
    m_centre->addWidget(m_compare);
    setCentralWidget(m_centre);
    m_view->setFocus();
    connect(m_view, &ZantrelView::PicturesChanged, m_compare, &CompareView::UpdatePictures);
    setStatusBar(m_statusBar);
    setAcceptDrops(true);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    m_statusBar->AddCancelButton(m_actions.at(ID_CANCEL_RUN));
    m_explore = new ExplorePanel(app, this);
    addDockWidget(Qt::RightDockWidgetArea, m_explore);
    m_explore->hide();
    Retranslate();
    connect(&app.Runs(), &BackgroundRun::BusyChanged, this, &MainFrame::OnBusyChanged);
    UpdateActions();

    // Idle-time update for the toolbar buttons, whose state no menu opening refreshes.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &MainFrame::UpdateActions);
}

QAction* MainFrame::Action(int id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void MainFrame::CreateActions() {
    for (const CommandEntry& command : CommandTable()) {
        auto* action = new QAction(this);
        action->setIcon(ToolIcon(command.id));
        // Menu items show no button image, as the menus of the command set are text only.
        action->setIconVisibleInMenu(false);
        if (command.shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(command.shortcut)));
        connect(action, &QAction::triggered, this, [this, &command] { Execute(command); });
        // Keys of commands that are on no menu (Ctrl+N, Ctrl+P) still reach the window.
        addAction(action);
        m_actions[command.id] = action;
    }
    m_actions[ID_VIEW_TOOLBAR]->setCheckable(true);
    m_actions[ID_VIEW_STATUS_BAR]->setCheckable(true);
    m_actions[ID_VIEW_COMPARE]->setCheckable(true);
    m_actions[ID_VIEW_EXPLORE]->setCheckable(true);
    auto* languages = new QActionGroup(this);
    for (int id : zantrel::LanguageMenu()) {
        m_actions[id]->setCheckable(true);
        languages->addAction(m_actions[id]);
    }

    for (int i = 0; i < RecentFileList::kSize; ++i) {
        auto* action = new QAction(this);
        connect(action, &QAction::triggered, this, [this, i] { OpenRecentFile(i); });
        m_actions[ID_FILE_MRU_FILE1 + i] = action;
    }
}

void MainFrame::CreateMenus() {
    for (const MenuDefinition& definition : MenuBar()) {
        QMenu* menu = menuBar()->addMenu(QString());
        for (int id : definition.items) {
            if (id == kSeparator) {
                menu->addSeparator();
            } else if (id == ID_VIEW_LANGUAGE) {
                m_languageMenu = menu->addMenu(QString::fromUtf8(kLanguageMenuTitle));
                for (int item : zantrel::LanguageMenu())
                    m_languageMenu->addAction(m_actions.at(item));
            } else if (id == ID_FILE_MRU_FILE1) {
                for (int i = 0; i < RecentFileList::kSize; ++i)
                    menu->addAction(m_actions[ID_FILE_MRU_FILE1 + i]);
                connect(menu, &QMenu::aboutToShow, this, &MainFrame::UpdateRecentFileMenu);
            } else {
                menu->addAction(m_actions.at(id));
            }
        }
        connect(menu, &QMenu::aboutToShow, this, &MainFrame::UpdateActions);
        m_menus.push_back(menu);
    }
}

void MainFrame::CreateToolBar() {
    m_toolBar = addToolBar(QString());
    m_toolBar->setObjectName(QStringLiteral("StandardToolBar"));
    m_toolBar->setIconSize(QSize(16, 15));
    for (int id : ToolBarButtons()) {
        if (id == kSeparator)
            m_toolBar->addSeparator();
        else
            m_toolBar->addAction(m_actions.at(id));
    }
}

void MainFrame::Retranslate() {
    for (const CommandEntry& command : CommandTable()) {
        QAction* action = m_actions.at(command.id);
        action->setText(CommandText(command.caption));
        action->setStatusTip(CommandText(command.prompt));
        action->setToolTip(CommandText(command.tooltip));
    }
    for (int i = 0; i < RecentFileList::kSize; ++i)
        m_actions[ID_FILE_MRU_FILE1 + i]->setStatusTip(CommandText(kRecentFilePrompt));
    const std::span<const MenuDefinition> titles = MenuBar();
    for (std::size_t i = 0; i < m_menus.size(); ++i)
        m_menus[i]->setTitle(CommandText(titles[i].title));
    m_toolBar->setWindowTitle(tr("标准"));
    UpdateRecentFileMenu();
    m_statusBar->Retranslate();
    if (m_explore)
        m_explore->Retranslate();
    m_compare->Retranslate();
    m_app.Doc().UpdateTitle();
}

void MainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
}

void MainFrame::UpdateActions() {
    const bool busy = m_app.Runs().Busy();
    const PipelineState state = CurrentPipelineState(*m_view, m_app.Doc(), busy);
    for (const EnablingRule& rule : EnablingRules())
        m_actions.at(rule.id)->setEnabled(CommandEnabled(rule, state));
    m_actions[ID_VIEW_TOOLBAR]->setChecked(!m_toolBar->isHidden());
    m_actions[ID_VIEW_STATUS_BAR]->setChecked(!m_statusBar->isHidden());
    m_actions[ID_VIEW_COMPARE]->setChecked(CompareShown());
    m_actions[ID_VIEW_EXPLORE]->setChecked(!m_explore->isHidden());
    m_actions[AppliedLanguage() == Language::English ? ID_LANGUAGE_ENGLISH : ID_LANGUAGE_CHINESE]
        ->setChecked(true);
    m_statusBar->ShowCancelButton(busy);
    m_explore->Refresh();
}

void MainFrame::OnBusyChanged(bool busy) {
    // Only the pictures wait; menus, the explore panel and the cancel button stay as ever.
    for (PictureCanvas* canvas :
         {static_cast<PictureCanvas*>(m_view), &m_compare->Canvas(0), &m_compare->Canvas(1)}) {
        if (busy)
            canvas->viewport()->setCursor(Qt::WaitCursor);
        else
            canvas->viewport()->unsetCursor();
    }
    UpdateActions();
}

void MainFrame::UpdateRecentFileMenu() {
    const QStringList& entries = m_app.RecentFiles().Entries();
    for (int i = 0; i < RecentFileList::kSize; ++i) {
        QAction* action = m_actions[ID_FILE_MRU_FILE1 + i];
        if (i < entries.size()) {
            QString path = entries[i];
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(
                path.replace(QLatin1Char('&'), QStringLiteral("&&"))));
            action->setEnabled(true);
            action->setVisible(true);
        } else {
            // An empty list leaves a greyed placeholder at its place; the others hide.
            action->setText(CommandText(kRecentFilePlaceholder));
            action->setEnabled(false);
            action->setVisible(i == 0 && entries.isEmpty());
        }
    }
}

void MainFrame::ToggleToolBar() {
    m_toolBar->setVisible(m_toolBar->isHidden());
}

void MainFrame::ToggleStatusBar() {
    m_statusBar->setVisible(m_statusBar->isHidden());
}

bool MainFrame::CompareShown() const {
    return m_centre->currentWidget() == m_compare;
}

PictureCanvas& MainFrame::ActiveCanvas() const {
    // The compare view's second pane follows its first.
    return CompareShown() ? m_compare->Canvas(0) : static_cast<PictureCanvas&>(*m_view);
}

void MainFrame::ToggleCompareView() {
    QWidget* shown = CompareShown() ? static_cast<QWidget*>(m_view) : m_compare;
    m_centre->setCurrentWidget(shown);
    shown->setFocus();
}

void MainFrame::ToggleExplore() {
    m_explore->setVisible(m_explore->isHidden());
}

void MainFrame::closeEvent(QCloseEvent* event) {
    m_app.StopRuns();
    QMainWindow::closeEvent(event);
}

void MainFrame::Execute(const CommandEntry& command) {
    try {
        command.handler(m_app);
    } catch (const std::exception&) {
        // Out of memory or a failure below the engine: the command ends, the program goes on.
        m_app.UserShell().ShowMessage(AppText(kCommandFailedText).toStdString(), kAppName,
                                      MessageIcon::Exclamation);
    }
    UpdateActions();
}

void MainFrame::OpenRecentFile(int index) {
    m_app.OnOpenRecentFile(index);
    UpdateRecentFileMenu();
    UpdateActions();
}

void MainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!FirstLocalFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainFrame::dropEvent(QDropEvent* event) {
    const QString path = FirstLocalFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    activateWindow();
    m_app.OpenDocumentFile(path);
    UpdateRecentFileMenu();
    UpdateActions();
}

}  // namespace zantrel
