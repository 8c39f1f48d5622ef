// zantrel-cli: the Zantrel pipeline on the terminal.

#include <QCoreApplication>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "cli/CliOptions.h"
#include "cli/Decode.h"
#include "cli/MessageLanguage.h"
#include "cli/Pipeline.h"
#include "cli/Sweep.h"
#include "cli/SweepOptions.h"
#include "cli/TerminalShell.h"
#include "import/ImageImport.h"
#include "import/MessageTranslation.h"

using namespace zantrel;

namespace {

// Parses the command line with `parse` and runs `run` under the terminal shell.
template <typename Parse, typename Run>
int ParseAndRun(int argc, char** argv, Parse parse, Run run) {
    int exitCode = 0;
    const auto options = parse(argc, argv, exitCode);
    if (!options)
        return exitCode;
    TerminalShell shell;
    exitCode = run(*options, shell);
    // Figures that never reached their reader (a full disk, a closed stdout) are a failure.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        const int error = errno;
        std::fprintf(stderr, "the figures could not be written to standard output: %s\n",
                     std::strerror(error));
        return exitCode == 0 ? 1 : exitCode;
    }
    return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    SilenceReaderWarnings();
    const LanguageChoice choice = TakeLanguageChoice(argc, argv, std::getenv("LANGUAGE"));
    if (!choice.error.empty()) {
        std::fprintf(stderr, "%s\n", choice.error.c_str());
        return 2;
    }
    // A translator is installed into an application object, so English needs one. It sets the
    // locale from the environment; the C locale is put back so the figures print as always.
    int applicationArgc = 1;
    std::optional<QCoreApplication> application;
    if (choice.language == "en") {
        application.emplace(applicationArgc, argv);
        std::setlocale(LC_ALL, "C");
        InstallMessagesTranslation(choice.language);
    }
    // A first word "sweep", "encode" or "decode" picks that command; a picture of such a
    // name is still read as ./sweep. Every other command line is the single run, as before.
    const char* command = argc > 1 ? argv[1] : "";
    if (std::strcmp(command, "sweep") == 0)
        return ParseAndRun(argc - 1, argv + 1, ParseSweepOptions, RunSweep);
    if (std::strcmp(command, "encode") == 0)
        return ParseAndRun(argc - 1, argv + 1, ParseEncodeOptions, RunPipeline);
    if (std::strcmp(command, "decode") == 0)
        return ParseAndRun(argc - 1, argv + 1, ParseDecodeOptions, RunDecode);
    return ParseAndRun(argc, argv, ParseCliOptions, RunPipeline);
}
