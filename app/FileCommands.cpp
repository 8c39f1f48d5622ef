#include "app/FileCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QStringList>

#include "app/MainFrame.h"
#include "app/ZantrelDoc.h"
#include "app/ZtlFileStatus.h"
#include "platform/FileError.h"
#include "platform/Shell.h"
#include "view/DialogHost.h"

namespace zantrel {

namespace {

QString Tr(const char* source) {
    return QCoreApplication::translate("FileCommands", source);
}

QString ZtlFilter() {
    return Tr(QT_TRANSLATE_NOOP("FileCommands", "Zantrel 文件 (*.ztl)"));
}

// Every format the toolkit's readers know with Zantrel files, Zantrel files alone, then every
// file.
QString ImportFilter() {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    patterns << QStringLiteral("*.ztl");
    return Tr(QT_TRANSLATE_NOOP("FileCommands", "图像文件(%1);;%2;;所有文件(*)"))
        .arg(patterns.join(QLatin1Char(' ')), ZtlFilter());
}

// The open dialog with `filter`, then the chosen file: a .ztl file, told by its content,
// decoded, any other through `openPicture`; cancelling does nothing.
void OpenChosenFile(MainFrame& frame, const QString& filter,
                    ZantrelDoc::OpenResult (ZantrelDoc::*openPicture)(const QString&)) {
    FileDialogRequest request;
    request.filter = filter;
    const std::optional<QString> path = frame.Host().ChooseFile(request);
    if (!path)
        return;
    if (ZantrelDoc::IsZtl(*path))
        frame.Open(*path, &ZantrelDoc::OpenZtlFile);
    else
        frame.Open(*path, openPicture, openPicture == &ZantrelDoc::LoadPicture);
}

}  // namespace

void OnOpenPicture(MainFrame& frame) {
    // First every file the command opens, then each kind alone.
    OpenChosenFile(frame,
                   Tr(QT_TRANSLATE_NOOP("FileCommands", "图像和 Zantrel 文件(*.bmp *.ztl)")) +
                       QStringLiteral(";;") +
                       Tr(QT_TRANSLATE_NOOP("FileCommands", "图像文件(*.bmp);;")) + ZtlFilter(),
                   &ZantrelDoc::LoadPicture);
}

void OnImportPicture(MainFrame& frame) {
    OpenChosenFile(frame, ImportFilter(), &ZantrelDoc::ImportPicture);
}

std::optional<QString> ChooseSaveTarget(DialogHost& host, const FileDialogRequest& request) {
    // As in a save dialog, answering no to the overwrite question returns to the dialog.
    for (;;) {
        std::optional<QString> path = host.ChooseFile(request);
        if (!path)
            return std::nullopt;
        if (QFileInfo(*path).suffix().isEmpty())
            *path += QLatin1Char('.') + request.defaultSuffix;
        const QFileInfo target(*path);
        if (!target.exists() ||
            host.Confirm(Tr(QT_TRANSLATE_NOOP("FileCommands", "%1 已存在。\n要替换它吗？"))
                             .arg(target.fileName()),
                         Tr(QT_TRANSLATE_NOOP("FileCommands", "确认另存为")))) {
            return path;
        }
    }
}

void ShowSavedStatus(const QString& path) {
    if (StatusDisplay* bar = CurrentShell().StatusBar())
        bar->SetPaneText(Tr(QT_TRANSLATE_NOOP("FileCommands", "已保存 %1"))
                             .arg(QDir::toNativeSeparators(path))
                             .toStdString());
}

void OnSavePicture(MainFrame& frame) {
    FileDialogRequest request;
    request.forSaving = true;
    request.filter = Tr(QT_TRANSLATE_NOOP("FileCommands", "图像计算结果(*.bmp)"));
    request.initialName = QStringLiteral("ZantPic");
    request.defaultSuffix = QStringLiteral("bmp");
    if (const std::optional<QString> path = ChooseSaveTarget(frame.Host(), request)) {
        if (const std::optional<FileError> error = frame.Doc().SaveResult(*path))
            ShowFileError(CurrentShell(), *error);
        else
            ShowSavedStatus(*path);
    }
}

void OnSaveZtl(MainFrame& frame) {
    const ZantrelDoc& doc = frame.Doc();
    FileDialogRequest request;
    request.forSaving = true;
    request.filter = ZtlFilter();
    // Beside the picture, under its name.
    const QFileInfo picture(doc.Path());
    request.initialName =
        picture.dir().filePath(picture.completeBaseName() + QStringLiteral(".ztl"));
    request.defaultSuffix = QStringLiteral("ztl");
    const std::optional<QString> path = ChooseSaveTarget(frame.Host(), request);
    if (!path)
        return;
    const Expected<std::uint64_t, FileError> bytes = doc.SaveZtl(*path);
    if (!bytes) {
        ShowFileError(CurrentShell(), bytes.Error());
        return;
    }
    const GrayPicture& result = doc.Pictures().Result();
    ShowZtlFileStatus(ZtlFileEvent::Saved, *bytes, result.width, result.height);
}

}  // namespace zantrel
