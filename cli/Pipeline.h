#pragma once

#include "cli/CliOptions.h"
#include "cli/TerminalShell.h"

namespace zantrel {

// Runs the desktop commands' stages in their order on the options' picture and prints the
// figures. Returns the exit code: 0 success, 1 a file error, 2 a refused picture.
int RunPipeline(const CliOptions& options, TerminalShell& shell);

}  // namespace zantrel
