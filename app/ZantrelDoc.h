#pragma once
// The document: the opened picture or decoded file and every stage's result, as values, and the
// file they came from. Each stage computes from the one before into locals and replaces the
// document's values only when it succeeded, so a failed or cancelled stage leaves the document
// as it was. The document shows nothing: it says what changed through its signals, and the
// main window shows it. The long stages run elsewhere (see StageRuns) from the shared inputs
// the document hands out, and their outputs come back through Adopt.

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "app/StageJob.h"
#include "import/BmpFormat.h"
#include "measure/RunFigures.h"
#include "picture/Expected.h"
#include "platform/FileError.h"
#include "platform/LoadError.h"
#include "view/DocumentPictures.h"

namespace zantrel {

// What a change of the document made, for the view to show.
enum class DocumentStage {
    Gray,
    Quadtree,
    GrayGrid,
    CutLines,
    QuadtreeAndCutLines,  // a new quadtree and the search after it, as one run
};

class ZantrelDoc final : public QObject {
    Q_OBJECT
  public:
    explicit ZantrelDoc(QObject* parent = nullptr);

    // What an open gives back: the file became the document, or the error that kept it out,
    // for the main window to show. A file that did not open leaves everything as it was.
    struct FileOpened {};
    using OpenResult = Expected<FileOpened, LoadError>;

    // Loads `path` under the original BMP rules (24-bit, 512 x 512), keeping its headers for
    // saving.
    OpenResult LoadPicture(const QString& path);
    // The same for any readable format and size; an imported picture keeps no headers.
    OpenResult ImportPicture(const QString& path);
    // A .ztl file, decoded: it becomes the document.
    OpenResult OpenZtlFile(const QString& path);
    // The way recent files, drops and the command line open: a .ztl file, told by its
    // content whatever its name, else a ".bmp" file under the original rules, any other
    // through the import.
    OpenResult OnOpenDocument(const QString& path);
    // Whether `path` is a Zantrel file, told by its content.
    static bool IsZtl(const QString& path);
    // Ctrl+N: a new untitled document. The pictures stay.
    void OnNewDocument();

    // Writes the result picture, behind the kept headers of a picture opened under the
    // original rules; the error when it was not written.
    std::optional<FileError> SaveResult(const QString& path) const;
    // Encodes the decomposition, with the settings its tree was made with (a decoded
    // document: the file's), and writes it; the file's size in bytes, or the error when it
    // was not written. Only while the document holds a decomposition.
    Expected<std::uint64_t, FileError> SaveZtl(const QString& path) const;

    // The stages that take no time worth a worker. The gray picture of the colour picture,
    // with its summed tables; what was made from the gray picture before goes.
    void RunGray();
    // The block borders over the block picture (a decoded document: over the approximation).
    void RunGrayGrid();
    // What a background run of the later stages reads.
    StageInputs Inputs() const;
    // A run's outputs become the document's: a new quadtree drops everything made from the
    // one before, a cut-line result becomes the result with its figures, and the run's mode
    // becomes the mode of the stages to come.
    void Adopt(StageOutputs outputs);
    // The mode the last quadtree or cut-line run was made in: the one the cut-line command
    // runs in next.
    RunMode Mode() const { return m_mode; }

    // The figures of the result against the gray picture.
    double PsnrFigure() const;
    double SsimFigure() const;
    double BitRateFigure() const;

    const DocumentPictures& Pictures() const { return m_pictures; }
    bool PictureLoaded() const { return m_pictures.Loaded(); }
    // The figures of the current cut-line result, while there is one made here from the gray
    // picture (not for a decoded document).
    const std::optional<RunFigures>& Figures() const { return m_figures; }
    // The headers of a picture opened under the original BMP rules; nothing for an import.
    const std::optional<bmp::Headers>& KeptHeaders() const { return m_keptHeaders; }
    // The file the document was opened from.
    const QString& Path() const { return m_path; }
    // The file name the caption shows: empty for a document without a file, nothing before
    // the first document.
    const std::optional<QString>& TitleName() const { return m_titleName; }

  Q_SIGNALS:
    // A file became the document; its pictures are all new.
    void Opened();
    // The gray picture was replaced or dropped: what was computed from the one before is
    // outdated. Sent before the signal of the change itself.
    void GrayReplaced();
    // A stage's pictures replaced the ones before.
    void StageChanged(DocumentStage stage);
    void TitleChanged();

  private:
    PictureStages* Stages() { return std::get_if<PictureStages>(&m_pictures.content); }
    // Makes `pictures`, opened from `path`, the document's, dropping every stage result of the
    // one before.
    void Replace(DocumentPictures pictures, std::optional<bmp::Headers> headers,
                 const QString& path);

    DocumentPictures m_pictures;
    std::shared_ptr<const SummedTables> m_sums;  // of the gray picture
    std::optional<RunFigures> m_figures;
    RunMode m_mode = RunMode::Exact;
    std::optional<bmp::Headers> m_keptHeaders;
    QString m_path;
    std::optional<QString> m_titleName;
};

}  // namespace zantrel
