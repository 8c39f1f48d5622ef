#pragma once
// The document: the loaded picture and every stage's result, as values. Each stage computes
// from the one before into locals and replaces the document's values only when it succeeded,
// so a failed or cancelled stage leaves the document as it was. The stages touch no widget,
// so they may run on any thread while nothing else uses the document.

#include <QString>
#include <cstdint>
#include <optional>

#include "import/BmpFormat.h"
#include "measure/ZantrelRun.h"
#include "picture/Progress.h"
#include "view/DisplayMode.h"
#include "view/DocumentPictures.h"

class CZantrelApp;
struct FileDialogRequest;

class CZantrelDoc final {
  public:
    explicit CZantrelDoc(CZantrelApp& app) : m_app(app) {}

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

    // The stages, each from the result of the one before.
    // The gray picture of the colour picture, and its summed tables.
    void RunGray();
    // The quadtree and its block picture, which becomes the result.
    void RunQuadtree(double penalty, std::int32_t minBlockSize);
    // The block borders over the block picture.
    void RunGrayGrid();
    // The cut-line search and the reconstruction, which becomes the result; false, with
    // nothing changed, when `progress` asked to stop.
    bool RunZantrel(CProgress& progress);
    // The figures of the result against the gray picture.
    double PsnrFigure() const;
    double BitRateFigure() const;

    const DocumentPictures& Pictures() const { return m_pictures; }
    bool PictureLoaded() const { return m_pictures.loaded; }
    // The headers of a picture opened under the original BMP rules; nothing for an import.
    const std::optional<bmp::Headers>& KeptHeaders() const { return m_keptHeaders; }

  private:
    // Makes `pictures` the document's, dropping every stage result of the one before, and
    // shows them in `mode`.
    void Adopt(DocumentPictures pictures, std::optional<bmp::Headers> headers, const QString& path,
               DisplayMode mode);
    // The save dialog until the user gives a name that is new or may be replaced; nothing
    // when cancelled. A name without an extension gets the request's default suffix.
    std::optional<QString> ChooseSaveTarget(const FileDialogRequest& request);

    CZantrelApp& m_app;
    DocumentPictures m_pictures;
    std::optional<bmp::Headers> m_keptHeaders;
    QString m_path;                 // the file the document was opened from
    PipelineWorkspace m_workspace;  // the gray picture's summed tables and search memory
};
