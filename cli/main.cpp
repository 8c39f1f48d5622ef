// zantrel-cli: the Zantrel pipeline on the terminal.

#include "cli/CliOptions.h"
#include "cli/Pipeline.h"
#include "cli/TerminalShell.h"

int main(int argc, char** argv) {
    int exitCode = 0;
    const auto options = ParseCliOptions(argc, argv, exitCode);
    if (!options)
        return exitCode;
    CTerminalShell shell;
    RegisterShell(&shell);
    exitCode = RunPipeline(*options, shell);
    RegisterShell(nullptr);
    return exitCode;
}
