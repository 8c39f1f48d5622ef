#pragma once
// A whole application per test: a profile in a temporary INI file and a scripted dialog host.
// Commands are run by triggering their real QActions; state is read from the document and
// the view.

#include <gtest/gtest.h>

#include <QAction>
#include <QSettings>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "ScriptedDialogHost.h"
#include "app/BackgroundRun.h"
#include "app/ZantrelApp.h"
#include "app/ZantrelDoc.h"
#include "view/DisplayMode.h"

// Failure messages show texts, not UTF-16 code units.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace zantrel {

class AppTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the application (not yet started) on the test's profile.
    void MakeApp();
    QAction& Action(int id);
    // Triggers a command as a click on its menu item would and waits until its work in the
    // background is done and shown; a disabled one does nothing.
    void Trigger(int id);
    // Runs the event loop until the background work is done and shown.
    void WaitForIdle();
    QString Title();
    ZantrelDoc& Doc() { return m_app->Doc(); }
    // The stages of the picture the document holds; fails the test for a decoded file.
    const PictureStages& Stages();
    // The worker of the commands and the explore panel's runs.
    BackgroundRun& Runs();
    DisplayMode Mode();

    // A 24-bit 512 x 512 picture file in the test's folder; `bgr` gives each pixel's colour.
    QString WritePicture(const QString& name,
                         const std::function<std::uint32_t(int, int)>& bgr = nullptr);
    // An 8-bit file, which the loader refuses.
    QString WriteEightBitPicture(const QString& name);
    // A width x height PNG file of a colour gradient, written through the toolkit.
    QString WritePng(const QString& name, int width, int height);
    QString PathInFolder(const QString& name) const;

    std::string m_folder;
    ScriptedDialogHost m_host;
    std::unique_ptr<QSettings> m_profile;
    std::unique_ptr<ZantrelApp> m_app;
};

// "<file name> - <caption>", the title after a load.
QString LoadedTitle(const QString& fileName);
// The title of a document without a file.
QString UntitledTitle();

}  // namespace zantrel
