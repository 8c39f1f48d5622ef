#pragma once
// How zantrel-cli ends on a failed load or write: the terminal shows why, and the exit code
// tells which kind of failure it was.

#include "platform/FileError.h"
#include "platform/LoadError.h"
#include "platform/Shell.h"

// Shows `error`; returns the exit code: 2 for a refused picture, 1 for a file error.
int ReportLoadError(CShell& terminal, const LoadError& error);

// Shows `error`; returns the exit code 1.
int ReportWriteError(CShell& terminal, const FileError& error);
