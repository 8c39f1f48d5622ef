#pragma once
// The document: the loaded picture and every stage's result, as values. Each stage computes
// from the one before into locals and replaces the document's values only when it succeeded,
// so a failed or cancelled stage leaves the document as it was. The stages touch no widget:
// the long ones run on a worker (see BackgroundRun) in two halves, Make* computing from the
// document's pictures without changing them, Adopt* taking the result on the user-interface
// thread. While a worker runs, the document changes only through an Adopt* of that worker's
// result; whatever replaces the gray picture or the whole document stops the workers first.

#include <QString>
#include <cstdint>
#include <optional>

#include "import/BmpFormat.h"
#include "measure/RunFigures.h"
#include "measure/Stages.h"
#include "picture/Progress.h"
#include "view/DisplayMode.h"
#include "view/DocumentPictures.h"

namespace zantrel {

class ZantrelApp;
struct FileDialogRequest;

class ZantrelDoc final {
  public:
    explicit ZantrelDoc(ZantrelApp& app) : m_app(app) {}

    // Command 32782: the open dialog, then LoadPicture; cancelling does nothing.
    void OnOpenPicture();
    // Command 32787: the open dialog for every readable format, then ImportPicture.
    void OnImportPicture();
    // Both open commands, recent files, drops and the command line open a .ztl file, told by
    // its content whatever its name, through OpenZtlFile.
    // Command 32783: the save dialog, then the result picture is written. A name without an
    // extension gets ".bmp"; replacing an existing file needs the user's yes.
    void OnSavePicture();
    // Command 32788: the save dialog, then the decomposition is encoded under the quadtree's
    // settings and written; the status bar tells the file's size and bit rate. A name without
    // an extension gets ".ztl"; replacing an existing file needs the user's yes.
    void OnSaveZtl();
    // Loads `path` under the original BMP rules (24-bit, 512 x 512), keeping its headers for
    // saving. Only a loaded picture adds the path to the recent-file list, titles the window
    // "<file name>-<caption>" and is shown in mode 1; a refused or unreadable file has been
    // reported and leaves everything as it was. True when loaded.
    bool LoadPicture(const QString& path);
    // The same for any readable format and size; an imported picture keeps no headers.
    bool ImportPicture(const QString& path);
    // A .ztl file, decoded: it becomes the document, shown in mode 5, and the status bar
    // tells the file's size and bit rate. A refused or unreadable file has been reported and
    // leaves everything as it was. True when loaded.
    bool OpenZtlFile(const QString& path);
    // The document-open hook of recent files, drops and the command line: a .ztl file, else
    // a ".bmp" file under the original rules, any other through the import. Reports the
    // load's result.
    bool OnOpenDocument(const QString& path);
    // Ctrl+N: a new untitled document. The pictures stay; the view shows them again.
    void OnNewDocument();
    // The save dialog until the user gives a name that is new or may be replaced; nothing
    // when cancelled. A name without an extension gets the request's default suffix.
    std::optional<QString> ChooseSaveTarget(const FileDialogRequest& request);

    // The stages, each from the result of the one before.
    // The gray picture of the colour picture, and its summed tables.
    void RunGray();
    // The quadtree and its block picture, which becomes the result.
    void RunQuadtree(double penalty, std::int32_t minBlockSize);
    // The block borders over the block picture.
    void RunGrayGrid();
    // The cut-line search and the reconstruction, which becomes the result; false, with
    // nothing changed, when `progress` asked to stop.
    bool RunZantrel(Progress& progress);
    // The figures of the result against the gray picture.
    double PsnrFigure() const;
    double BitRateFigure() const;

    // The halves of the quadtree and cut-line stages. Make* may run on a worker, one at a
    // time (MakeZantrel uses the document's search memory).
    QuadtreeStage MakeQuadtree(double penalty, std::int32_t minBlockSize) const;
    // The search and reconstruction after `quadtree` and their figures; nothing when cancelled.
    struct ZantrelResult {
        CutLineStage stage;
        RunFigures figures;
    };
    std::optional<ZantrelResult> MakeZantrel(const QuadtreeStage& quadtree, Progress& progress);
    // Makes `stage` the quadtree and the result; what was made from the one before goes.
    void AdoptQuadtree(QuadtreeStage stage);
    // Makes the search's result the document's; it was made from the document's quadtree.
    void AdoptZantrel(ZantrelResult result);
    // Both at once: a quadtree and the search made from it (the explore panel's runs).
    void AdoptExplored(QuadtreeStage quadtree, ZantrelResult result);

    const DocumentPictures& Pictures() const { return m_pictures; }
    // The figures of the current cut-line result, while there is one made here from the gray
    // picture (not for a decoded document).
    const std::optional<RunFigures>& Figures() const { return m_figures; }
    // The gray picture's summed tables; only read by the stages.
    const SummedTables& Sums() const { return m_workspace.sums; }
    // Counters that move whenever the gray picture, or any picture, is replaced.
    std::uint64_t GrayGeneration() const { return m_grayGeneration; }
    std::uint64_t Generation() const { return m_generation; }
    bool PictureLoaded() const { return m_pictures.loaded; }
    // The headers of a picture opened under the original BMP rules; nothing for an import.
    const std::optional<bmp::Headers>& KeptHeaders() const { return m_keptHeaders; }

    // The window caption again, in the interface's language.
    void UpdateTitle();

  private:
    // The file's name in the caption; empty for a document without a file, none before the
    // first document.
    std::optional<QString> m_titleName;
    // The open dialog with `filter`, then the chosen file: a .ztl file, told by its content,
    // through OpenZtlFile, any other through `openPicture`; cancelling does nothing.
    void OpenChosenFile(const QString& filter, bool (ZantrelDoc::*openPicture)(const QString&));
    // Makes `pictures` the document's, dropping every stage result of the one before, and
    // shows them in `mode`.
    void Adopt(DocumentPictures pictures, std::optional<bmp::Headers> headers, const QString& path,
               DisplayMode mode);

    ZantrelApp& m_app;
    DocumentPictures m_pictures;
    std::optional<bmp::Headers> m_keptHeaders;
    QString m_path;                 // the file the document was opened from
    PipelineWorkspace m_workspace;  // the gray picture's summed tables and search memory
    std::optional<RunFigures> m_figures;
    std::uint64_t m_grayGeneration = 0;
    std::uint64_t m_generation = 0;
};

}  // namespace zantrel
