#pragma once
// The small shell layer between the engine and whatever front end runs it: the desktop
// window, the terminal of zantrel-cli, or a recorder in the tests. What the user is shown
// goes through this interface, so nothing below the front ends depends on a GUI toolkit.

#include <string>
#include <string_view>

namespace zantrel {

// The status part of the shell: pane 0 text and the 0..100 progress position.
class StatusDisplay {
  public:
    virtual ~StatusDisplay() = default;
    // Replaces the text of the message pane and shows it at once.
    virtual void SetPaneText(std::string_view text) = 0;
    // Moves the progress bar; `position` is 0..100.
    virtual void SetProgressPos(int position) = 0;
};

enum class MessageIcon { Information, Exclamation };

enum class FileErrorCause {
    NotFound,
    AccessDenied,
    SharingViolation,
    DiskFull,
    FileTooLarge,    // over the file-size limit the process runs under
    NotRegularFile,  // a folder, pipe, device or socket where a file is needed
    TooManyLinks,    // a symbolic link loop
    ReadOnlyFileSystem,
    NotAFolder,  // a part of the path that should be a folder is a file
    NameTooLong,
    Other,
    Interrupted,  // a stop signal cancelled a save; the process ends by it, so nothing is shown
};

class Shell {
  public:
    virtual ~Shell() = default;
    // The status bar, or nullptr where the front end has none.
    virtual StatusDisplay* StatusBar() = 0;
    // A modal message box; returns when the user has closed it.
    virtual void ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) = 0;
    // An error of the file layer; `fileName` is the path the user gave.
    virtual void ReportFileError(FileErrorCause cause, std::string_view fileName) = 0;
};

// The desktop's one shell, for the parts of the window that report without holding the
// application. Loaders and writers never use it: they return their errors, and the front end
// shows them through the shell it owns. nullptr restores a shell that ignores everything;
// the caller keeps ownership and must unregister before destroying it.
void RegisterShell(Shell* shell);
// The registered shell; never null.
Shell& CurrentShell();

// The application's name, the caption of every message box that has no label of its own.
inline constexpr std::string_view kAppName = "Zantrel";

}  // namespace zantrel
