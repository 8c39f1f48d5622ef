#include "app/ZantrelDoc.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QStringList>

#include "app/MainFrame.h"
#include "app/ZantrelApp.h"
#include "codec/ZtlFile.h"
#include "measure/BitRate.h"
#include "measure/Psnr.h"
#include "picture/GrayConversion.h"
#include "platform/PictureFiles.h"
#include "platform/Shell.h"
#include "quadtree/GridPictures.h"
#include "view/AppTexts.h"
#include "view/DialogHost.h"
#include "view/ZantrelView.h"

namespace zantrel {

namespace {

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString Tr(const char* source) {
    return QCoreApplication::translate("ZantrelDoc", source);
}

QString ZtlFilter() {
    return Tr(QT_TRANSLATE_NOOP("ZantrelDoc", "Zantrel 文件 (*.ztl)"));
}

// Every format the toolkit's readers know, Zantrel files, then every file.
QString ImportFilter() {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    return Tr(QT_TRANSLATE_NOOP("ZantrelDoc", "图像文件(%1);;%2;;所有文件(*)"))
        .arg(patterns.join(QLatin1Char(' ')), ZtlFilter());
}

bool IsZtl(const QString& path) {
    return IsZtlFile(LocalPath(path));
}

// "<what>：N 字节，X 比特/像素" on the status bar.
void ShowZtlSize(const QString& what, std::uint64_t bytes, int width, int height) {
    if (StatusDisplay* bar = CurrentShell().StatusBar()) {
        bar->SetPaneText(Tr(QT_TRANSLATE_NOOP("ZantrelDoc", "%1：%2 字节，%3 比特/像素"))
                             .arg(what)
                             .arg(static_cast<qulonglong>(bytes))
                             .arg(QString::asprintf("%f", ZtlFileBitRate(bytes, width, height)))
                             .toStdString());
    }
}

DocumentPictures PicturesOf(ColorPicture picture) {
    DocumentPictures pictures;
    pictures.loaded = true;
    pictures.color = std::move(picture);
    return pictures;
}

}  // namespace

void ZantrelDoc::OnOpenPicture() {
    OpenChosenFile(Tr(QT_TRANSLATE_NOOP("ZantrelDoc", "图像文件(*.bmp);;")) + ZtlFilter(),
                   &ZantrelDoc::LoadPicture);
}

void ZantrelDoc::OnImportPicture() {
    OpenChosenFile(ImportFilter(), &ZantrelDoc::ImportPicture);
}

void ZantrelDoc::OpenChosenFile(const QString& filter,
                                bool (ZantrelDoc::*openPicture)(const QString&)) {
    FileDialogRequest request;
    request.filter = filter;
    const std::optional<QString> path = m_app.Host().ChooseFile(request);
    if (!path)
        return;
    if (IsZtl(*path))
        OpenZtlFile(*path);
    else
        (this->*openPicture)(*path);
}

std::optional<QString> ZantrelDoc::ChooseSaveTarget(const FileDialogRequest& request) {
    // As in a save dialog, answering no to the overwrite question returns to the dialog.
    for (;;) {
        std::optional<QString> path = m_app.Host().ChooseFile(request);
        if (!path)
            return std::nullopt;
        if (QFileInfo(*path).suffix().isEmpty())
            *path += QLatin1Char('.') + request.defaultSuffix;
        const QFileInfo target(*path);
        if (!target.exists() ||
            m_app.Host().Confirm(Tr(QT_TRANSLATE_NOOP("ZantrelDoc", "%1 已存在。\n要替换它吗？"))
                                     .arg(target.fileName()),
                                 Tr(QT_TRANSLATE_NOOP("ZantrelDoc", "确认另存为")))) {
            return path;
        }
    }
}

void ZantrelDoc::OnSavePicture() {
    FileDialogRequest request;
    request.forSaving = true;
    request.filter = Tr(QT_TRANSLATE_NOOP("ZantrelDoc", "图像计算结果(*.bmp)"));
    request.initialName = QStringLiteral("ZantPic");
    request.defaultSuffix = QStringLiteral("bmp");
    if (const std::optional<QString> path = ChooseSaveTarget(request)) {
        if (const auto error = SaveGrayBmpPicture(LocalPath(*path), m_pictures.result,
                                                  m_keptHeaders ? &*m_keptHeaders : nullptr))
            ShowFileError(m_app.UserShell(), *error);
    }
}

void ZantrelDoc::OnSaveZtl() {
    FileDialogRequest request;
    request.forSaving = true;
    request.filter = ZtlFilter();
    // Beside the picture, under its name.
    const QFileInfo picture(m_path);
    request.initialName =
        picture.dir().filePath(picture.completeBaseName() + QStringLiteral(".ztl"));
    request.defaultSuffix = QStringLiteral("ztl");
    const std::optional<QString> path = ChooseSaveTarget(request);
    if (!path)
        return;
    // The tree keeps the settings it was made with; a decoded document, the file's.
    const Quadtree& tree = m_pictures.decomposition.tree;
    const std::vector<std::uint8_t> bytes = EncodeZtl(tree);
    if (const auto error = SaveZtlFile(LocalPath(*path), bytes))
        ShowFileError(m_app.UserShell(), *error);
    else
        ShowZtlSize(Tr(QT_TRANSLATE_NOOP("ZantrelDoc", "已保存 Zantrel 文件")), bytes.size(),
                    tree.width, tree.height);
}

bool ZantrelDoc::LoadPicture(const QString& path) {
    Expected<LoadedBmp, LoadError> read = LoadBmpPicture(LocalPath(path));
    if (!read) {
        ShowLoadError(m_app.UserShell(), read.Error());
        return false;
    }
    LoadedBmp& loaded = *read;
    Adopt(PicturesOf(std::move(loaded.picture)), loaded.headers, path, DISPLAY_COLOR);
    return true;
}

bool ZantrelDoc::ImportPicture(const QString& path) {
    Expected<ColorPicture, LoadError> read = ImportPictureFile(LocalPath(path));
    if (!read) {
        ShowLoadError(m_app.UserShell(), read.Error());
        return false;
    }
    ColorPicture& picture = *read;
    Adopt(PicturesOf(std::move(picture)), std::nullopt, path, DISPLAY_COLOR);
    return true;
}

bool ZantrelDoc::OpenZtlFile(const QString& path) {
    Expected<ZtlPicture, LoadError> read = LoadZtlFile(LocalPath(path));
    if (!read) {
        ShowLoadError(m_app.UserShell(), read.Error());
        return false;
    }
    ZtlPicture& file = *read;
    DocumentPictures pictures;
    pictures.loaded = true;
    pictures.decoded = true;
    const int width = file.tree.width;
    const int height = file.tree.height;
    // The tree and its bare grid, where the stages after the quadtree look for them.
    pictures.quadtree.tree = file.tree;
    pictures.quadtree.grid = std::move(file.grid);
    pictures.decomposition.tree = std::move(file.tree);
    pictures.result = std::move(file.result);
    Adopt(std::move(pictures), std::nullopt, path, DISPLAY_ZANTREL);
    ShowZtlSize(Tr(QT_TRANSLATE_NOOP("ZantrelDoc", "Zantrel 文件")),
                static_cast<std::uint64_t>(QFileInfo(path).size()), width, height);
    return true;
}

bool ZantrelDoc::OnOpenDocument(const QString& path) {
    if (IsZtl(path))
        return OpenZtlFile(path);
    // Recent entries, drops and the command line keep the original rules for BMP files; a
    // file of another format (say an imported PNG in the recent list) opens as an import.
    if (QFileInfo(path).suffix().compare(QStringLiteral("bmp"), Qt::CaseInsensitive) == 0)
        return LoadPicture(path);
    return ImportPicture(path);
}

void ZantrelDoc::OnNewDocument() {
    m_titleName = QString();
    UpdateTitle();
    m_app.Frame().View().UpdateAllViews();
}

void ZantrelDoc::UpdateTitle() {
    if (!m_titleName)
        return;
    m_app.Frame().setWindowTitle(m_titleName->isEmpty()
                                     ? AppText(kDocumentName) + QStringLiteral(" - ") +
                                           AppText(kAppCaption)
                                     : *m_titleName + QLatin1Char('-') + AppText(kAppCaption));
}

void ZantrelDoc::Adopt(DocumentPictures pictures, std::optional<bmp::Headers> headers,
                       const QString& path, DisplayMode mode) {
    m_app.StopRuns();
    m_pictures = std::move(pictures);
    m_figures.reset();
    ++m_grayGeneration;
    ++m_generation;
    m_keptHeaders = headers;
    m_path = path;
    // The tables belong to the gray picture just dropped.
    m_workspace.sums = SummedTables();
    m_app.AddToRecentFileList(path);
    m_titleName = QFileInfo(path).fileName();
    UpdateTitle();
    m_app.Frame().View().ShowMode(mode);
}

void ZantrelDoc::RunGray() {
    GrayPicture gray = ConvertToGray(m_pictures.color);
    SummedTables sums(gray);
    m_app.StopRuns();
    ++m_grayGeneration;
    ++m_generation;
    m_figures.reset();
    m_pictures.gray = std::move(gray);
    m_workspace.sums = std::move(sums);
    // What was made from the gray picture before belongs to another one.
    m_pictures.quadtree = QuadtreeStage();
    m_pictures.grayGrid = GrayPicture();
    m_pictures.decomposition = Decomposition();
    m_pictures.result = GrayPicture();
}

void ZantrelDoc::RunQuadtree(double penalty, std::int32_t minBlockSize) {
    AdoptQuadtree(MakeQuadtree(penalty, minBlockSize));
}

QuadtreeStage ZantrelDoc::MakeQuadtree(double penalty, std::int32_t minBlockSize) const {
    return RunQuadtreeStage(m_workspace.sums, penalty, minBlockSize);
}

void ZantrelDoc::AdoptQuadtree(QuadtreeStage stage) {
    GrayPicture result = stage.blockPicture;
    m_pictures.quadtree = std::move(stage);
    m_pictures.result = std::move(result);
    // What was made from the quadtree before belongs to another one.
    m_pictures.grayGrid = GrayPicture();
    m_pictures.decomposition = Decomposition();
    m_figures.reset();
    ++m_generation;
}

void ZantrelDoc::RunGrayGrid() {
    // A decoded document has no block picture: its borders go over the approximation.
    const GrayPicture& under =
        m_pictures.decoded ? m_pictures.result : m_pictures.quadtree.blockPicture;
    m_pictures.grayGrid = MakeGrayGrid(m_pictures.quadtree.grid, under);
    ++m_generation;
}

bool ZantrelDoc::RunZantrel(Progress& progress) {
    std::optional<ZantrelResult> result = MakeZantrel(m_pictures.quadtree, progress);
    if (!result)
        return false;
    AdoptZantrel(std::move(*result));
    return true;
}

std::optional<ZantrelDoc::ZantrelResult> ZantrelDoc::MakeZantrel(const QuadtreeStage& quadtree,
                                                                 Progress& progress) {
    std::optional<CutLineStage> stage =
        RunCutLineStage(m_pictures.gray, quadtree, m_workspace, 0, progress);
    if (!stage)
        return std::nullopt;
    RunFigures figures = MeasureRun(m_pictures.gray, quadtree, *stage);
    return ZantrelResult{std::move(*stage), figures};
}

void ZantrelDoc::AdoptZantrel(ZantrelResult result) {
    m_pictures.decomposition = std::move(result.stage.decomposition);
    m_pictures.result = std::move(result.stage.result);
    m_figures = result.figures;
    ++m_generation;
}

void ZantrelDoc::AdoptExplored(QuadtreeStage quadtree, ZantrelResult result) {
    m_pictures.quadtree = std::move(quadtree);
    m_pictures.grayGrid = GrayPicture();
    AdoptZantrel(std::move(result));
}

double ZantrelDoc::PsnrFigure() const {
    return Psnr(m_pictures.gray, m_pictures.result);
}

double ZantrelDoc::BitRateFigure() const {
    return EstimateBitRate(m_pictures.decomposition);
}

}  // namespace zantrel
