#include "app/ZtlFileStatus.h"

#include <QCoreApplication>
#include <QString>

#include "codec/ZtlFile.h"
#include "platform/Shell.h"

namespace zantrel {

namespace {

QString Tr(const char* source) {
    return QCoreApplication::translate("ZtlFileStatus", source);
}

}  // namespace

void ShowZtlFileStatus(ZtlFileEvent event, std::uint64_t bytes, int width, int height) {
    StatusDisplay* bar = CurrentShell().StatusBar();
    if (!bar)
        return;
    const QString what = event == ZtlFileEvent::Saved
                             ? Tr(QT_TRANSLATE_NOOP("ZtlFileStatus", "已保存 Zantrel 文件"))
                             : Tr(QT_TRANSLATE_NOOP("ZtlFileStatus", "Zantrel 文件"));
    bar->SetPaneText(Tr(QT_TRANSLATE_NOOP("ZtlFileStatus", "%1：%2 字节，%3 比特/像素"))
                         .arg(what)
                         .arg(static_cast<qulonglong>(bytes))
                         .arg(QString::asprintf("%f", ZtlFileBitRate(bytes, width, height)))
                         .toStdString());
}

}  // namespace zantrel
