#include "app/ZantrelApp.h"

#include <QScreen>

#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "app/ProgressStatusBar.h"
#include "app/ToolIcons.h"
#include "app/ZantrelDoc.h"
#include "view/AppTexts.h"
#include "view/DialogHost.h"

namespace zantrel {

ZantrelApp::ZantrelApp(QSettings& profile, DialogHost& host, std::optional<Language> language)
    : m_profile(profile),
      m_host(host),
      m_recentFiles(profile),
      m_shell(host),
      m_doc(std::make_unique<ZantrelDoc>(*this)),
      m_frame(std::make_unique<MainFrame>(*this)) {
    ApplyLanguage(language.value_or(SavedLanguage(profile)));
    m_frame->Retranslate();
    m_frame->setWindowIcon(AppIcon());
    m_shell.SetStatusBar(&m_frame->StatusBar());
    RegisterShell(&m_shell);
    // Out of memory or a failure below the engine: the command ends, the program goes on.
    QObject::connect(&m_runs, &BackgroundRun::Failed, [this] {
        m_shell.ShowMessage(AppText(kCommandFailedText).toStdString(), kAppName,
                            MessageIcon::Exclamation);
    });
}

ZantrelApp::~ZantrelApp() {
    // The jobs use the document and report to the frame: both must outlive them.
    StopRuns();
    if (&CurrentShell() == &m_shell)
        RegisterShell(nullptr);
}

void ZantrelApp::InitInstance(const QString& fileToOpen) {
    // Sized to the screen first, so that a desktop without a window manager still shows
    // the whole window.
    if (const QScreen* screen = m_frame->screen())
        m_frame->setGeometry(screen->availableGeometry());
    // Up before the file is opened, so that a refusal's message box stands over the window
    // rather than alone on the desktop.
    m_frame->showMaximized();
    if (fileToOpen.isEmpty() || !OpenDocumentFile(fileToOpen))
        m_doc->OnNewDocument();
    m_frame->UpdateActions();
}

void ZantrelApp::StopRuns() {
    m_runs.CancelAndWait();
    m_curveRuns.CancelAndWait();
}

void ZantrelApp::WaitForIdle() {
    while (m_runs.Busy() || m_curveRuns.Busy()) {
        m_runs.WaitForIdle();
        m_curveRuns.WaitForIdle();
    }
}

bool ZantrelApp::OpenDocumentFile(const QString& path) {
    return m_doc->OnOpenDocument(path);
}

void ZantrelApp::OnOpenRecentFile(int index) {
    const QStringList& entries = m_recentFiles.Entries();
    if (index < 0 || index >= entries.size())
        return;
    const QString path = entries[index];
    if (!OpenDocumentFile(path))
        m_recentFiles.Remove(path);
}

void ZantrelApp::AddToRecentFileList(const QString& path) {
    m_recentFiles.Add(path);
}

void ZantrelApp::OnAppAbout() {
    AboutDlg dialog(m_frame.get());
    m_host.Exec(dialog);
}

void ZantrelApp::SetLanguage(Language language, bool remember) {
    if (remember)
        SaveLanguage(m_profile, language);
    ApplyLanguage(language);
    // Qt posts the change to the windows; the frame follows at once rather than later.
    m_frame->Retranslate();
}

}  // namespace zantrel
