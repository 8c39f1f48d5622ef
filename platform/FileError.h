#pragma once
// A file error as a value, the causes operating-system errors map to, and the texts shown to
// the user, so every front end words a file error the same way.

#include <string>
#include <string_view>

#include "platform/Shell.h"

namespace zantrel {

// A file the user named that could not be opened, read or written.
struct FileError {
    FileErrorCause cause = FileErrorCause::Other;
    std::string fileName;  // the path the user gave
};

// Shows `error` through the shell's file-error report; a save a stop signal cancelled shows
// nothing.
void ShowFileError(Shell& shell, const FileError& error);

// The cause for an errno value from a failed open, read, write or rename.
FileErrorCause FileErrorCauseFromErrno(int error);

// The message for a file error, e.g. "没有找到 a.bmp。".
std::string FileErrorText(FileErrorCause cause, std::string_view fileName);

}  // namespace zantrel
