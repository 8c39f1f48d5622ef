#include "app/MainFrame.h"

#include <QAbstractEventDispatcher>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStackedWidget>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <cmath>
#include <exception>
#include <new>
#include <optional>

#include "app/AboutDlg.h"
#include "app/EnablingRules.h"
#include "app/ExplorePanel.h"
#include "app/PixelClaim.h"
#include "app/ProgressStatusBar.h"
#include "app/StageRuns.h"
#include "app/ToolIcons.h"
#include "app/ZantrelDoc.h"
#include "app/ZtlFileStatus.h"
#include "import/ImageImport.h"
#include "picture/Picture.h"
#include "platform/LoadError.h"
#include "platform/Shell.h"
#include "view/AppTexts.h"
#include "view/CompareView.h"
#include "view/DialogHost.h"
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

// Out of memory or a failure below the engine: the command ends, the program goes on.
void ReportCommandFailed(DialogHost& host) {
    host.ShowMessage(AppText(kCommandFailedText), QString::fromUtf8(kAppName),
                     MessageIcon::Exclamation);
}

// The mode that shows what a stage made; `shown` is the mode shown before.
DisplayMode ModeOf(DocumentStage stage, DisplayMode shown) {
    switch (stage) {
        case DocumentStage::Gray:
            return DISPLAY_GRAY;
        case DocumentStage::Quadtree:
            return DISPLAY_QUADTREE;
        case DocumentStage::GrayGrid:
            return DISPLAY_GRAY_GRID;
        case DocumentStage::CutLines:
            return DISPLAY_ZANTREL;
        case DocumentStage::QuadtreeAndCutLines:
            // The explore panel's runs keep the cut lines in view while they are shown.
            return shown == DISPLAY_GRID_LINES ? DISPLAY_GRID_LINES : DISPLAY_ZANTREL;
    }
    return shown;
}

}  // namespace

MainFrame::MainFrame(ZantrelDoc& doc, DialogHost& host, QSettings& profile,
                     std::span<const CommandBinding> handlers)
    : m_doc(doc),
      m_host(host),
      m_profile(profile),
      m_recentFiles(profile),
      m_runs(std::make_unique<StageRuns>(doc)),
      m_view(new ZantrelView(host, doc.Pictures(), this)),
      m_compare(new CompareView(doc.Pictures(), this)),
      m_centre(new QStackedWidget(this)),
      m_statusBar(new ProgressStatusBar(this)) {
    m_centre->addWidget(m_view);
    m_centre->addWidget(m_compare);
    setCentralWidget(m_centre);
    m_view->setFocus();
    connect(m_view, &ZantrelView::PicturesChanged, m_compare, &CompareView::UpdatePictures);
    setStatusBar(m_statusBar);
    connect(m_view, &ZantrelView::HoverTextChanged, m_statusBar, &ProgressStatusBar::SetHoverText);
    setAcceptDrops(true);
    CreateActions(handlers);
    CreateMenus();
    CreateToolBar();
    m_statusBar->AddCancelButton(m_actions.at(ID_CANCEL_RUN));
    m_explore = new ExplorePanel(doc, *m_runs, host, this);
    addDockWidget(Qt::RightDockWidgetArea, m_explore);
    m_explore->hide();
    Retranslate();
    connect(&doc, &ZantrelDoc::Opened, this, &MainFrame::OnDocumentOpened);
    connect(&doc, &ZantrelDoc::StageChanged, this, &MainFrame::OnStageChanged);
    connect(&doc, &ZantrelDoc::TitleChanged, this, &MainFrame::UpdateTitle);
    connect(&m_runs->Stages(), &BackgroundRun::BusyChanged, this, &MainFrame::OnBusyChanged);
    auto reportRunOutOfMemory = [this] {
        const StageRuns::MemoryNeed& need = m_runs->LastNeed();
        ReportOutOfMemory(need.width, need.height, need.bytes);
    };
    connect(&m_runs->Stages(), &BackgroundRun::Failed, this,
            [this, reportRunOutOfMemory](bool outOfMemory) {
                if (outOfMemory)
                    reportRunOutOfMemory();
                else
                    ReportCommandFailed(m_host);
            });
    connect(m_runs.get(), &StageRuns::NotEnoughMemory, this, reportRunOutOfMemory);
    UpdateActions();

    // Idle-time update for the toolbar buttons, whose state no menu opening refreshes.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &MainFrame::UpdateActions);
    qApp->installEventFilter(this);
}

bool MainFrame::eventFilter(QObject* watched, QEvent* event) {
    // A key the shortcut took never arrives as a key press; one that does was kept from it
    // (the menu bar holds on to Esc after a menu closed). A popup's Esc closes the popup.
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        !QApplication::activePopupWidget() && QApplication::activeWindow() == this) {
        QAction* cancel = m_actions.at(ID_CANCEL_RUN);
        if (cancel->isEnabled())
            cancel->trigger();
    }
    return QMainWindow::eventFilter(watched, event);
}

MainFrame::~MainFrame() = default;

QAction* MainFrame::Action(int id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void MainFrame::CreateActions(std::span<const CommandBinding> handlers) {
    for (const CommandEntry& command : CommandTable()) {
        auto* action = new QAction(this);
        action->setIcon(ToolIcon(command.id));
        // Menu items show no button image, as the menus of the command set are text only.
        action->setIconVisibleInMenu(false);
        if (command.shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(command.shortcut)));
        const auto binding = std::ranges::find(handlers, command.id, &CommandBinding::id);
        if (binding != handlers.end()) {
            connect(action, &QAction::triggered, this,
                    [this, handler = binding->handler] { Execute(handler); });
        }
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
    if (m_explore) {
        m_explore->Retranslate();
        // The other language's texts want another width, known once they are laid out.
        QTimer::singleShot(0, this, [this] { FitExplore(true); });
    }
    m_compare->Retranslate();
    UpdateTitle();
}

void MainFrame::UpdateTitle() {
    const std::optional<QString>& name = m_doc.TitleName();
    if (!name)
        return;
    // One form for a file and for the untitled document, so the caption never jumps.
    setWindowTitle((name->isEmpty() ? AppText(kDocumentName) : *name) + QStringLiteral(" - ") +
                   AppText(kAppCaption));
}

void MainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        Retranslate();
}

void MainFrame::UpdateActions() {
    const bool busy = m_runs->Busy();
    const PipelineState state = CurrentPipelineState(m_doc.Pictures(), m_view->Mode(), busy);
    for (const EnablingRule& rule : EnablingRules())
        m_actions.at(rule.id)->setEnabled(CommandEnabled(rule, state));
    m_actions[ID_VIEW_TOOLBAR]->setChecked(!m_toolBar->isHidden());
    m_actions[ID_VIEW_STATUS_BAR]->setChecked(!m_statusBar->isHidden());
    m_actions[ID_VIEW_COMPARE]->setChecked(CompareShown());
    m_actions[ID_VIEW_EXPLORE]->setChecked(!m_explore->isHidden());
    m_actions[AppliedLanguage() == Language::English ? ID_LANGUAGE_ENGLISH : ID_LANGUAGE_CHINESE]
        ->setChecked(true);
    m_statusBar->ShowCancelButton(busy);
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

void MainFrame::OnDocumentOpened() {
    m_recentFiles.Add(m_doc.Path());
    // Nothing of the picture before stays: its status, its zoom and where it was scrolled to.
    m_statusBar->clearMessage();
    m_statusBar->SetPaneText(AppText(kIdleText).toStdString());
    const DocumentPictures& pictures = m_doc.Pictures();
    if (pictures.Decoded()) {
        m_view->ShowMode(DISPLAY_ZANTREL);
        ShowZtlFileStatus(ZtlFileEvent::Opened,
                          static_cast<std::uint64_t>(QFileInfo(m_doc.Path()).size()),
                          pictures.Result().width, pictures.Result().height);
    } else {
        m_view->ShowMode(DISPLAY_COLOR);
    }
    for (PictureCanvas* canvas :
         {static_cast<PictureCanvas*>(m_view), &m_compare->Canvas(0), &m_compare->Canvas(1)})
        canvas->ShowFromStart();
    UpdateActions();
}

void MainFrame::OnStageChanged(DocumentStage stage) {
    m_view->ShowMode(ModeOf(stage, m_view->Mode()));
    UpdateActions();
}

void MainFrame::NewDocument() {
    m_doc.OnNewDocument();
    m_view->UpdateAllViews();
}

void MainFrame::SetLanguage(Language language, bool remember) {
    if (remember)
        SaveLanguage(m_profile, language);
    ApplyLanguage(language);
    // Qt posts the change to the windows; the window follows at once rather than later.
    Retranslate();
}

void MainFrame::ShowAbout() {
    AboutDlg dialog(this);
    m_host.Exec(dialog);
}

void MainFrame::UpdateRecentFileMenu() {
    const QStringList& entries = m_recentFiles.Entries();
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
    m_exploreNarrowed = true;
    FitExplore();
}

void MainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FitExplore();
}

void MainFrame::FitExplore(bool toContent) {
    if (m_explore->isHidden() || m_explore->isFloating())
        return;
    // Narrowed here, the dock gets its width back with the room; one the user set stays, until
    // the content changes.
    m_exploreNarrowed = m_exploreNarrowed || toContent;
    const int most = std::max(m_explore->minimumSizeHint().width(), width() / 2);
    const int wanted = m_exploreNarrowed ? std::min(m_explore->PreferredWidth(), most) : most;
    if (m_explore->width() > most || (m_exploreNarrowed && m_explore->width() < wanted) ||
        (toContent && m_explore->width() != wanted)) {
        resizeDocks({m_explore}, {std::min(wanted, most)}, Qt::Horizontal);
        m_exploreNarrowed = wanted < m_explore->PreferredWidth();
    }
}

void MainFrame::closeEvent(QCloseEvent* event) {
    m_runs->StopAll();
    QMainWindow::closeEvent(event);
}

void MainFrame::Execute(CommandHandler handler) {
    try {
        handler(*this);
    } catch (const std::bad_alloc&) {
        const GrayPicture& gray = m_doc.Pictures().Gray();
        const ColorPicture& color = m_doc.Pictures().Color();
        const int width = gray.width > 0 ? gray.width : color.width;
        const int height = gray.width > 0 ? gray.height : color.height;
        ReportOutOfMemory(width, height, width > 0 ? PipelineBytesFor(width, height) : 0);
    } catch (const std::exception&) {
        ReportCommandFailed(m_host);
    }
    UpdateActions();
}

bool MainFrame::ReportOpen(const ZantrelDoc::OpenResult& result, bool originalRules) {
    if (result)
        return true;
    const LoadError& error = result.Error();
    const Refusal* refusal = std::get_if<Refusal>(&error.cause);
    // Only the header is read: the import takes the file when its reader can tell its size.
    if (originalRules && refusal &&
        QImageReader(QFile::decodeName(error.fileName.c_str())).size().isValid()) {
        m_host.ShowMessage(QString::fromStdString(refusal->message),
                           tr("“导入图像…”（Ctrl+I）可打开任意位深和尺寸的图像。"),
                           QString::fromUtf8(kAppName), MessageIcon::Exclamation);
    } else {
        ShowLoadError(CurrentShell(), error);
    }
    return false;
}

bool MainFrame::OpenDocument(const QString& path) {
    return OpenAsDocument(path) == OpenOutcome::Opened;
}

MainFrame::OpenOutcome MainFrame::OpenAsDocument(const QString& path) {
    const bool originalRules =
        !ZantrelDoc::IsZtl(path) &&
        QFileInfo(path).suffix().compare(QStringLiteral("bmp"), Qt::CaseInsensitive) == 0;
    return Open(path, &ZantrelDoc::OnOpenDocument, originalRules);
}

MainFrame::OpenOutcome MainFrame::Open(const QString& path,
                                       ZantrelDoc::OpenResult (ZantrelDoc::*open)(const QString&),
                                       bool originalRules) {
    const std::optional<DeclaredSize> size =
        ReadDeclaredSize(QFile::encodeName(path).toStdString());
    const long long width = size ? size->width : 0;
    const long long height = size ? size->height : 0;
    switch (AskAboutPixelClaim(m_host, path, width, height, AvailableMemoryBytes())) {
        case PixelClaimAnswer::Declined:
            return OpenOutcome::Declined;
        case PixelClaimAnswer::CannotFit:
            return OpenOutcome::NotOpened;
        case PixelClaimAnswer::Read:
            break;
    }
    try {
        return ReportOpen((m_doc.*open)(path), originalRules) ? OpenOutcome::Opened
                                                              : OpenOutcome::NotOpened;
    } catch (const std::bad_alloc&) {
        const bool known = IsValidPictureSize(width, height);
        ReportOutOfMemory(
            width, height,
            known ? PipelineBytesFor(static_cast<int>(width), static_cast<int>(height)) : 0);
        return OpenOutcome::NotOpened;
    }
}

void MainFrame::ReportOutOfMemory(long long width, long long height, std::uint64_t bytes) {
    constexpr std::uint64_t kMegabyte = 1u << 20;
    m_host.ShowMessage(tr("内存不足：%1×%2 的图像约需 %3 MB 内存，命令已中止，文档保持原样。")
                           .arg(width)
                           .arg(height)
                           .arg((bytes + kMegabyte - 1) / kMegabyte),
                       QString::fromUtf8(kAppName), MessageIcon::Exclamation);
}

void MainFrame::OpenRecentFile(int index) {
    const QStringList& entries = m_recentFiles.Entries();
    if (index >= 0 && index < entries.size()) {
        const QString path = entries[index];
        // An entry stays when the user only declined to open a very large file.
        if (OpenAsDocument(path) == OpenOutcome::NotOpened)
            m_recentFiles.Remove(path);
    }
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
    OpenDocument(path);
    UpdateRecentFileMenu();
    UpdateActions();
}

}  // namespace zantrel
