#pragma once
// The commands of the File menu that ask for a file: each asks through the main window's
// dialog host, then has the document open or write it.

#include <QString>
#include <optional>

namespace zantrel {

class DialogHost;
class MainFrame;
struct FileDialogRequest;

// Command 32782: the open dialog, then the document loads the picture under the original BMP
// rules; cancelling does nothing.
void OnOpenPicture(MainFrame& frame);
// Command 32787: the open dialog for every readable format, then the import.
// Both open commands open a .ztl file, told by its content whatever its name, decoded.
void OnImportPicture(MainFrame& frame);
// Command 32783: the save dialog, then the result picture is written. A name without an
// extension gets ".bmp"; replacing an existing file needs the user's yes.
void OnSavePicture(MainFrame& frame);
// Command 32788: the save dialog, then the decomposition is encoded and written; the status
// bar tells the file's size and bit rate. A name without an extension gets ".ztl"; replacing an
// existing file needs the user's yes.
void OnSaveZtl(MainFrame& frame);

// Names on the status bar the file a save has written.
void ShowSavedStatus(const QString& path);

// The save dialog until the user gives a name that is new or may be replaced; nothing when
// cancelled. A name without an extension gets the request's default suffix.
std::optional<QString> ChooseSaveTarget(DialogHost& host, const FileDialogRequest& request);

}  // namespace zantrel
