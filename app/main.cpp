// zantrel: the desktop application.

#include <QApplication>
#include <QCommandLineParser>
#include <QSettings>
#include <cstdio>
#include <optional>

#include "app/Language.h"
#include "app/MainFrame.h"
#include "app/ToolIcons.h"
#include "app/WidgetDialogHost.h"
#include "app/ZantrelApp.h"
#include "view/AppTexts.h"

using namespace zantrel;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The profile: organisation and application name key the settings file.
    QApplication::setOrganizationName(QString::fromUtf8(kProfileKey));
    QApplication::setApplicationName(QString::fromUtf8(kProfileApplication));
    QApplication::setApplicationVersion(QStringLiteral(ZANTREL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("zantrel"));
    QApplication::setWindowIcon(AppIcon());

    QCommandLineParser parser;
    const QCommandLineOption language(
        QStringLiteral("lang"),
        QStringLiteral(
            "zh|en: 界面语言，只用于这一次启动 / the interface language, for this start only"),
        QStringLiteral("zh|en"));
    parser.addOption(language);
    parser.addHelpOption();
    parser.addVersionOption();
    // The language first, so that the help text is in it.
    parser.parse(QApplication::arguments());
    std::optional<Language> chosen;
    if (parser.isSet(language)) {
        chosen = ParseLanguage(parser.value(language));
        if (!chosen) {
            std::fprintf(stderr, "zantrel: --lang zh|en\n");
            return 2;
        }
    }
    QSettings profile;
    ApplyLanguage(chosen.value_or(SavedLanguage(profile)));
    parser.setApplicationDescription(
        QCoreApplication::translate("main", "Zantrel：四叉树与切割线的图像逼近"));
    parser.addPositionalArgument(
        QStringLiteral("file"),
        QCoreApplication::translate("main",
                                    "启动时打开的文件：Zantrel 文件（按内容识别）解码打开，.bmp "
                                    "文件按 24 位 512×512 BMP 打开，其他格式经导入打开"),
        QStringLiteral("[file]"));
    parser.process(application);

    WidgetDialogHost host;
    ZantrelApp app(profile, host, chosen);
    host.SetOwner(&app.Frame());
    app.InitInstance(parser.positionalArguments().value(0));
    return QApplication::exec();
}
