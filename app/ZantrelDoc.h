#pragma once
// The document: opening and saving pictures. It holds no picture data; loads and saves go
// to and from the picture store.

#include <QString>

class CZantrelApp;

class CZantrelDoc final {
  public:
    explicit CZantrelDoc(CZantrelApp& app) : m_app(app) {}

    // Command 32782: the open dialog, then LoadPicture; cancelling does nothing.
    void OnOpenPicture();
    // Command 32783: the save dialog, then the result picture is written. A name without an
    // extension gets ".bmp"; replacing an existing file needs the user's yes.
    void OnSavePicture();
    // Loads `path` into the picture store. Only a loaded picture adds the path to the
    // recent-file list, titles the window "<file name>-<caption>" and redraws; a refused or
    // unreadable file has been reported and leaves everything as it was. True when loaded.
    bool LoadPicture(const QString& path);
    // The document-open hook of recent files, drops and the command line; reports the
    // load's real result.
    bool OnOpenDocument(const QString& path);
    // Ctrl+N: a new untitled document. The picture store stays; the view shows it again.
    void OnNewDocument();

  private:
    CZantrelApp& m_app;
};
