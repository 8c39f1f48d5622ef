#include "app/ZantrelDoc.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QStringList>

#include "app/MainFrame.h"
#include "app/ZantrelApp.h"
#include "measure/BitRate.h"
#include "measure/Psnr.h"
#include "picture/GrayConversion.h"
#include "platform/PictureFiles.h"
#include "quadtree/GridPictures.h"
#include "view/AppTexts.h"
#include "view/DialogHost.h"
#include "view/ZantrelView.h"

namespace {

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Every format the toolkit's readers know, then every file.
QString ImportFilter() {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    return QStringLiteral("图像文件(%1);;所有文件(*)").arg(patterns.join(QLatin1Char(' ')));
}

}  // namespace

void CZantrelDoc::OnOpenPicture() {
    FileDialogRequest request;
    request.filter = QStringLiteral("图像文件(*.bmp)");
    const std::optional<QString> path = m_app.Host().ChooseFile(request);
    if (path)
        LoadPicture(*path);
}

void CZantrelDoc::OnImportPicture() {
    FileDialogRequest request;
    request.filter = ImportFilter();
    const std::optional<QString> path = m_app.Host().ChooseFile(request);
    if (path)
        ImportPicture(*path);
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
        SaveGrayBmpPicture(LocalPath(*path), m_pictures.result,
                           m_keptHeaders ? &*m_keptHeaders : nullptr);
        return;
    }
}

bool CZantrelDoc::LoadPicture(const QString& path) {
    LoadedBmp loaded;
    if (LoadBmpPicture(LocalPath(path), loaded) != LoadResult::Loaded)
        return false;
    Adopt(std::move(loaded.picture), loaded.headers, path);
    return true;
}

bool CZantrelDoc::ImportPicture(const QString& path) {
    ColorPicture picture;
    if (ImportPictureFile(LocalPath(path), picture) != LoadResult::Loaded)
        return false;
    Adopt(std::move(picture), std::nullopt, path);
    return true;
}

bool CZantrelDoc::OnOpenDocument(const QString& path) {
    // Recent entries, drops and the command line keep the original rules for BMP files; a
    // file of another format (say an imported PNG in the recent list) opens as an import.
    if (QFileInfo(path).suffix().compare(QStringLiteral("bmp"), Qt::CaseInsensitive) == 0)
        return LoadPicture(path);
    return ImportPicture(path);
}

void CZantrelDoc::OnNewDocument() {
    m_app.Frame().setWindowTitle(QString::fromUtf8(kDocumentName) + QStringLiteral(" - ") +
                                 QString::fromUtf8(kAppCaption));
    m_app.Frame().View().UpdateAllViews();
}

void CZantrelDoc::Adopt(ColorPicture picture, std::optional<bmp::Headers> headers,
                        const QString& path) {
    DocumentPictures pictures;
    pictures.loaded = true;
    pictures.color = std::move(picture);
    m_pictures = std::move(pictures);
    m_keptHeaders = headers;
    // The tables belong to the gray picture just dropped.
    m_workspace.sums = CSummedTables();
    m_app.AddToRecentFileList(path);
    m_app.Frame().setWindowTitle(QFileInfo(path).fileName() + QLatin1Char('-') +
                                 QString::fromUtf8(kAppCaption));
    m_app.Frame().View().ShowMode(DISPLAY_COLOR);
}

void CZantrelDoc::RunGray() {
    GrayPicture gray = ConvertToGray(m_pictures.color);
    CSummedTables sums(gray);
    m_pictures.gray = std::move(gray);
    m_workspace.sums = std::move(sums);
    // What was made from the gray picture before belongs to another one.
    m_pictures.quadtree = QuadtreeStage();
    m_pictures.grayGrid = GrayPicture();
    m_pictures.decomposition = Decomposition();
    m_pictures.result = GrayPicture();
}

void CZantrelDoc::RunQuadtree(double penalty, std::int32_t minBlockSize) {
    QuadtreeStage stage = RunQuadtreeStage(m_workspace, penalty, minBlockSize);
    GrayPicture result = stage.blockPicture;
    m_pictures.quadtree = std::move(stage);
    m_pictures.result = std::move(result);
    // What was made from the quadtree before belongs to another one.
    m_pictures.grayGrid = GrayPicture();
    m_pictures.decomposition = Decomposition();
}

void CZantrelDoc::RunGrayGrid() {
    m_pictures.grayGrid =
        MakeGrayGrid(m_pictures.quadtree.tree.grid, m_pictures.quadtree.blockPicture);
}

bool CZantrelDoc::RunZantrel(CProgress& progress) {
    std::optional<ZantrelStage> stage =
        RunZantrelStage(m_pictures.gray, m_pictures.quadtree, m_workspace, 0, progress);
    if (!stage)
        return false;
    m_pictures.decomposition = std::move(stage->decomposition);
    m_pictures.result = std::move(stage->result);
    return true;
}

double CZantrelDoc::PsnrFigure() const {
    return Psnr(m_pictures.gray, m_pictures.result);
}

double CZantrelDoc::BitRateFigure() const {
    return EstimateBitRate(m_pictures.decomposition, m_pictures.gray.width, m_pictures.gray.height);
}
