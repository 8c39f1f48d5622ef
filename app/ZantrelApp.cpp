#include "app/ZantrelApp.h"

#include <QScreen>

#include "app/CommandHandlers.h"
#include "app/MainFrame.h"
#include "app/ProgressStatusBar.h"
#include "app/StageRuns.h"
#include "app/ToolIcons.h"
#include "app/ZantrelDoc.h"

namespace zantrel {

ZantrelApp::ZantrelApp(QSettings& profile, DialogHost& host, std::optional<Language> language)
    : m_shell(host),
      m_doc(std::make_unique<ZantrelDoc>()),
      m_frame(std::make_unique<MainFrame>(*m_doc, host, profile, CommandHandlers())) {
    ApplyLanguage(language.value_or(SavedLanguage(profile)));
    m_frame->Retranslate();
    m_frame->setWindowIcon(AppIcon());
    m_shell.SetStatusBar(&m_frame->StatusBar());
    RegisterShell(&m_shell);
}

ZantrelApp::~ZantrelApp() {
    // The runs report to the frame's status bar through the shell: they stop first.
    m_frame->Runs().StopAll();
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
    if (fileToOpen.isEmpty() || !m_frame->OpenDocument(fileToOpen))
        m_frame->NewDocument();
    m_frame->UpdateActions();
}

}  // namespace zantrel
