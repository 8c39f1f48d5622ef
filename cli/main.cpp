// zantrel-cli: the Zantrel pipeline on the terminal.

#include <cstring>

#include "cli/CliOptions.h"
#include "cli/Pipeline.h"
#include "cli/Sweep.h"
#include "cli/SweepOptions.h"
#include "cli/TerminalShell.h"

namespace {

// `zantrel-cli sweep ...`: the run of many penalties.
int SweepMain(int argc, char** argv) {
    int exitCode = 0;
    const auto options = ParseSweepOptions(argc, argv, exitCode);
    if (!options)
        return exitCode;
    CTerminalShell shell;
    RegisterShell(&shell);
    exitCode = RunSweep(*options, shell);
    RegisterShell(nullptr);
    return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    // The word "sweep" first picks the sweep; a picture of that name is still read as
    // ./sweep. Every other command line is the single run, as before.
    if (argc > 1 && std::strcmp(argv[1], "sweep") == 0)
        return SweepMain(argc - 1, argv + 1);
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
