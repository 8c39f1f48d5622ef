#include "app/ZantrelDoc.h"

#include <QFile>
#include <QFileInfo>

#include "codec/ZtlFile.h"
#include "measure/BitRate.h"
#include "measure/Psnr.h"
#include "measure/Ssim.h"
#include "picture/GrayConversion.h"
#include "platform/PictureFiles.h"
#include "quadtree/GridPictures.h"

namespace zantrel {

namespace {

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

DocumentPictures PicturesOf(ColorPicture picture) {
    DocumentPictures pictures;
    pictures.content.emplace<PictureStages>().color = std::move(picture);
    return pictures;
}

}  // namespace

ZantrelDoc::ZantrelDoc(QObject* parent) : QObject(parent) {}

ZantrelDoc::OpenResult ZantrelDoc::LoadPicture(const QString& path) {
    Expected<LoadedBmp, LoadError> read = LoadBmpPicture(LocalPath(path));
    if (!read)
        return read.Error();
    LoadedBmp& loaded = *read;
    Replace(PicturesOf(std::move(loaded.picture)), loaded.headers, path);
    return FileOpened{};
}

ZantrelDoc::OpenResult ZantrelDoc::ImportPicture(const QString& path) {
    Expected<ColorPicture, LoadError> read = ImportPictureFile(LocalPath(path));
    if (!read)
        return read.Error();
    ColorPicture& picture = *read;
    Replace(PicturesOf(std::move(picture)), std::nullopt, path);
    return FileOpened{};
}

ZantrelDoc::OpenResult ZantrelDoc::OpenZtlFile(const QString& path) {
    Expected<ZtlPicture, LoadError> read = LoadZtlFile(LocalPath(path));
    if (!read)
        return read.Error();
    DocumentPictures pictures;
    pictures.content =
        DecodedFileOf(std::move(*read), static_cast<std::uint64_t>(QFileInfo(path).size()));
    Replace(std::move(pictures), std::nullopt, path);
    return FileOpened{};
}

bool ZantrelDoc::IsZtl(const QString& path) {
    return IsZtlFile(LocalPath(path));
}

ZantrelDoc::OpenResult ZantrelDoc::OnOpenDocument(const QString& path) {
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
    Q_EMIT TitleChanged();
}

std::optional<FileError> ZantrelDoc::SaveResult(const QString& path) const {
    return SaveGrayBmpPicture(LocalPath(path), m_pictures.Result(),
                              m_keptHeaders ? &*m_keptHeaders : nullptr);
}

Expected<std::uint64_t, FileError> ZantrelDoc::SaveZtl(const QString& path) const {
    // The tree keeps the settings it was made with; a decoded document's, the file's.
    const std::vector<std::uint8_t> bytes = EncodeZtl(m_pictures.Tree());
    if (std::optional<FileError> error = SaveZtlFile(LocalPath(path), bytes))
        return std::move(*error);
    return std::uint64_t{bytes.size()};
}

void ZantrelDoc::Replace(DocumentPictures pictures, std::optional<bmp::Headers> headers,
                         const QString& path) {
    m_pictures = std::move(pictures);
    // The tables and figures belong to the gray picture just dropped.
    m_sums.reset();
    m_figures.reset();
    m_keptHeaders = headers;
    m_path = path;
    m_titleName = QFileInfo(path).fileName();
    Q_EMIT GrayReplaced();
    Q_EMIT TitleChanged();
    Q_EMIT Opened();
}

void ZantrelDoc::RunGray() {
    PictureStages* stages = Stages();
    if (!stages)
        return;
    auto gray = std::make_shared<const GrayPicture>(ConvertToGray(stages->color));
    auto sums = std::make_shared<const SummedTables>(*gray);
    // What was made from the gray picture before belongs to another one.
    stages->quadtree.reset();
    stages->grayGrid = GrayPicture();
    stages->cutLines.reset();
    // The modes' results stay for comparing while the gray picture is the same again, as it
    // is on the menu's way back from the colour picture.
    if (!stages->gray || !(*stages->gray == *gray)) {
        stages->exactResult = {};
        stages->optimisedResult = {};
    }
    stages->gray = std::move(gray);
    m_sums = std::move(sums);
    m_figures.reset();
    Q_EMIT GrayReplaced();
    Q_EMIT StageChanged(DocumentStage::Gray);
}

void ZantrelDoc::RunGrayGrid() {
    // A decoded document's gray grid was drawn when it was opened.
    if (PictureStages* stages = Stages(); stages && stages->quadtree)
        stages->grayGrid = MakeGrayGrid(stages->quadtree->grid, stages->quadtree->blockPicture);
    else if (!m_pictures.Decoded())
        return;
    Q_EMIT StageChanged(DocumentStage::GrayGrid);
}

StageInputs ZantrelDoc::Inputs() const {
    const PictureStages* stages = m_pictures.Stages();
    if (!stages)
        return {};
    return {stages->gray, m_sums, stages->quadtree};
}

void ZantrelDoc::Adopt(StageOutputs outputs) {
    PictureStages* stages = Stages();
    if (!stages)
        return;
    m_mode = outputs.mode;
    const bool newQuadtree = outputs.quadtree != nullptr;
    if (newQuadtree) {
        stages->quadtree = std::move(outputs.quadtree);
        // What was made from the quadtree before belongs to another one.
        stages->grayGrid = GrayPicture();
        stages->cutLines.reset();
        m_figures.reset();
    }
    const bool cutLines = outputs.cutLines.has_value();
    if (cutLines) {
        stages->cutLines = std::move(outputs.cutLines->stage);
        m_figures = outputs.cutLines->figures;
        (m_mode == RunMode::Optimised ? stages->optimisedResult : stages->exactResult) = {
            stages->cutLines->result, m_figures->fileBitrate};
    }
    if (newQuadtree && cutLines)
        Q_EMIT StageChanged(DocumentStage::QuadtreeAndCutLines);
    else if (newQuadtree)
        Q_EMIT StageChanged(DocumentStage::Quadtree);
    else if (cutLines)
        Q_EMIT StageChanged(DocumentStage::CutLines);
}

double ZantrelDoc::PsnrFigure() const {
    return Psnr(m_pictures.Gray(), m_pictures.Result());
}

double ZantrelDoc::SsimFigure() const {
    return Ssim(m_pictures.Gray(), m_pictures.Result());
}

double ZantrelDoc::BitRateFigure() const {
    // The optimised mode's estimate is the file's size as its pruning priced it.
    if (m_pictures.Optimised() && m_figures)
        return m_figures->bitrate;
    const PictureStages* stages = m_pictures.Stages();
    return stages && stages->cutLines ? EstimateBitRate(stages->cutLines->decomposition)
                                      : EstimateBitRate(Decomposition());
}

}  // namespace zantrel
