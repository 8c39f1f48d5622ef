// zantrel: the desktop application.

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

#include "app/MainFrame.h"
#include "app/ToolIcons.h"
#include "app/WidgetDialogHost.h"
#include "app/ZantrelApp.h"
#include "view/AppTexts.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The profile: organisation and application name key the settings file.
    QApplication::setOrganizationName(QString::fromUtf8(kProfileKey));
    QApplication::setApplicationName(QString::fromUtf8(kProfileApplication));
    QApplication::setApplicationVersion(QStringLiteral(ZANTREL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("zantrel"));
    QApplication::setWindowIcon(AppIcon());

    // Qt's own dialogs in the language of the rest of the interface, where installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Zantrel：四叉树与切割线的图像逼近"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("file"),
        QStringLiteral("启动时打开的文件：Zantrel 文件（按内容识别）解码打开，.bmp 文件按 24 位 "
                       "512×512 BMP 打开，其他格式经导入打开"),
        QStringLiteral("[file]"));
    parser.process(application);

    QSettings profile;
    CWidgetDialogHost host;
    CZantrelApp app(profile, host);
    host.SetOwner(&app.Frame());
    app.InitInstance(parser.positionalArguments().value(0));
    return QApplication::exec();
}
