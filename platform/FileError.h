#pragma once
// Maps operating-system errors to the shell's file-error causes and to the texts shown to
// the user, so every front end words a file error the same way.

#include <string>
#include <string_view>

#include "platform/Shell.h"

namespace zantrel {

// The cause for an errno value from a failed open, read, write or rename.
FileErrorCause FileErrorCauseFromErrno(int error);

// The message for a file error, e.g. "没有找到 a.bmp。".
std::string FileErrorText(FileErrorCause cause, std::string_view fileName);

}  // namespace zantrel
