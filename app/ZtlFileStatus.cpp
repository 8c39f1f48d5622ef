#include "app/ZtlFileStatus.h"

#include <QCoreApplication>

#include "codec/ZtlFile.h"
#include "platform/Shell.h"

namespace zantrel {

namespace {

QString Tr(const char* source) {
    return QCoreApplication::translate("ZtlFileStatus", source);
}

}  // namespace

QString ZtlFileText(ZtlFileEvent event, std::uint64_t bytes, int width, int height) {
    const QString what = event == ZtlFileEvent::Saved
                             ? Tr(QT_TRANSLATE_NOOP("ZtlFileStatus", "已保存 Zantrel 文件"))
                             : Tr(QT_TRANSLATE_NOOP("ZtlFileStatus", "Zantrel 文件"));
    return Tr(QT_TRANSLATE_NOOP("ZtlFileStatus", "%1：%2 字节，%3 比特/像素"))
        .arg(what)
        .arg(static_cast<qulonglong>(bytes))
        .arg(QString::asprintf("%f", ZtlFileBitRate(bytes, width, height)));
}

void ShowZtlFileStatus(ZtlFileEvent event, std::uint64_t bytes, int width, int height) {
    if (StatusDisplay* bar = CurrentShell().StatusBar())
        bar->SetPaneText(ZtlFileText(event, bytes, width, height).toStdString());
}

}  // namespace zantrel
