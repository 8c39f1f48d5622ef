#include "cli/ParseArguments.h"

#include <cstdio>

bool ParseArguments(CLI::App& app, int argc, char** argv, const char* usage, int& exitCode) {
    try {
        app.parse(argc, argv);
        return true;
    } catch (const CLI::CallForHelp&) {
        std::printf("%s", app.help().c_str());
        exitCode = 0;
    } catch (const CLI::ParseError& error) {
        std::fprintf(stderr, "%s\n%s", error.what(), usage);
        exitCode = 2;
    }
    return false;
}
