#pragma once
// How zantrel-cli ends on a failed load or write: the terminal shows why, and the exit code
// tells which kind of failure it was.

#include "platform/FileError.h"
#include "platform/LoadError.h"
#include "platform/Shell.h"

namespace zantrel {

// Shows `error`; returns the exit code: 2 for a refused picture, 1 for a file error.
int ReportLoadError(Shell& terminal, const LoadError& error);

// Shows `error`; returns the exit code 1.
int ReportWriteError(Shell& terminal, const FileError& error);

}  // namespace zantrel
