#include "AppFixture.h"

#include <QAction>
#include <QImage>
#include <filesystem>

#include "app/MainFrame.h"
#include "app/StageRuns.h"
#include "support/TestPictures.h"
#include "view/AppTexts.h"
#include "view/ZantrelView.h"

namespace zantrel {

void AppTest::SetUp() {
    m_folder = MakeTempFolder();
    m_profile = std::make_unique<QSettings>(PathInFolder(QStringLiteral("profile.ini")),
                                            QSettings::IniFormat);
    MakeApp();
}

void AppTest::TearDown() {
    m_app.reset();
    m_profile.reset();
    std::filesystem::remove_all(m_folder);
}

void AppTest::MakeApp() {
    m_app.reset();
    m_app = std::make_unique<ZantrelApp>(*m_profile, m_host);
}

QAction& AppTest::Action(int id) {
    QAction* action = m_app->Frame().Action(id);
    EXPECT_NE(action, nullptr) << id;
    return *action;
}

void AppTest::Trigger(int id) {
    Action(id).trigger();
    WaitForIdle();
}

void AppTest::WaitForIdle() {
    m_app->Frame().Runs().WaitForIdle();
}

const PictureStages& AppTest::Stages() {
    static const PictureStages kNone;
    const PictureStages* stages = Doc().Pictures().Stages();
    EXPECT_NE(stages, nullptr);
    return stages ? *stages : kNone;
}

BackgroundRun& AppTest::Runs() {
    return m_app->Frame().Runs().Stages();
}

QString AppTest::Title() {
    return m_app->Frame().windowTitle();
}

DisplayMode AppTest::Mode() {
    return m_app->Frame().View().Mode();
}

QString AppTest::PathInFolder(const QString& name) const {
    return QString::fromStdString(m_folder) + QLatin1Char('/') + name;
}

QString AppTest::WritePicture(const QString& name,
                              const std::function<std::uint32_t(int, int)>& bgr) {
    const QString path = PathInFolder(name);
    WriteBytes(path.toStdString(), MakeBmpBytes(bgr));
    return path;
}

QString AppTest::WriteEightBitPicture(const QString& name) {
    const QString path = PathInFolder(name);
    std::vector<std::uint8_t> bytes = MakeBmpBytes();
    bytes[28] = 8;
    WriteBytes(path.toStdString(), bytes);
    return path;
}

QString AppTest::WritePng(const QString& name, int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, (x + y) & 0xFF));
    }
    const QString path = PathInFolder(name);
    EXPECT_TRUE(image.save(path, "PNG")) << path.toStdString();
    return path;
}

QString LoadedTitle(const QString& fileName) {
    return fileName + QStringLiteral(" - ") + QString::fromUtf8(kAppCaption);
}

QString UntitledTitle() {
    return QString::fromUtf8(kDocumentName) + QStringLiteral(" - ") +
           QString::fromUtf8(kAppCaption);
}

}  // namespace zantrel
