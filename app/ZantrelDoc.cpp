#include "app/ZantrelDoc.h"

#include <QFile>
#include <QFileInfo>

#include "app/AppTexts.h"
#include "app/DialogHost.h"
#include "app/MainFrame.h"
#include "app/ZantrelApp.h"
#include "picture/BmpReader.h"
#include "picture/BmpWriter.h"
#include "view/ZantrelView.h"

namespace {

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

void CZantrelDoc::OnOpenPicture() {
    FileDialogRequest request;
    request.filter = QStringLiteral("图像文件(*.bmp)");
    const std::optional<QString> path = m_app.Host().ChooseFile(request);
    if (path)
        LoadPicture(*path);
}

void CZantrelDoc::OnSavePicture() {
    FileDialogRequest request;
    request.forSaving = true;
    request.filter = QStringLiteral("图像计算结果(*.bmp)");
    request.initialName = QStringLiteral("ZantPic");
    request.defaultSuffix = QStringLiteral("bmp");
    // As in a save dialog, answering no to the overwrite question returns to the dialog.
    for (;;) {
        std::optional<QString> path = m_app.Host().ChooseFile(request);
        if (!path)
            return;
        if (QFileInfo(*path).suffix().isEmpty())
            *path += QLatin1Char('.') + request.defaultSuffix;
        const QFileInfo target(*path);
        if (target.exists() &&
            !m_app.Host().Confirm(
                QStringLiteral("%1 已存在。\n要替换它吗？").arg(target.fileName()),
                QStringLiteral("确认另存为"))) {
            continue;
        }
        SaveResultPicture(LocalPath(*path));
        return;
    }
}

bool CZantrelDoc::LoadPicture(const QString& path) {
    if (LoadPictureFile(LocalPath(path)) != LoadResult::Loaded)
        return false;
    m_app.AddToRecentFileList(path);
    m_app.Frame().setWindowTitle(QFileInfo(path).fileName() + QLatin1Char('-') +
                                 QString::fromUtf8(kAppCaption));
    m_app.Frame().View().UpdateAllViews();
    return true;
}

bool CZantrelDoc::OnOpenDocument(const QString& path) {
    return LoadPicture(path);
}

void CZantrelDoc::OnNewDocument() {
    m_app.Frame().setWindowTitle(QString::fromUtf8(kDocumentName) + QStringLiteral(" - ") +
                                 QString::fromUtf8(kAppCaption));
    m_app.Frame().View().UpdateAllViews();
}
