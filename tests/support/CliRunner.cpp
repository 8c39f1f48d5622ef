#include "support/CliRunner.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>

#include "support/TestPictures.h"

namespace zantrel {

CliRun RunShell(const std::string& command, const std::string& errFile) {
    const std::string line = command + " 2>" + errFile;
    FILE* pipe = ::popen(line.c_str(), "r");
    CliRun run{-1, {}};
    if (!pipe)
        return run;
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe))
        run.out += buffer.data();
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

CliRun RunProgram(const std::string& program, const std::string& arguments,
                  const std::string& errFile) {
    // Today's Chinese messages whatever language the developer's shell asks for.
    std::string command = "env -u LANGUAGE '";
    command.append(program).append("' ").append(arguments);
    return RunShell(command, errFile);
}

std::string ReadText(const std::string& path) {
    const auto bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

bool HasCjk(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xF0) != 0xE0 || i + 2 >= text.size())
            continue;
        const unsigned code =
            (byte & 0x0Fu) << 12 | (text[i + 1] & 0x3Fu) << 6 | (text[i + 2] & 0x3Fu);
        if ((code >= 0x3000 && code <= 0x9FFF) || (code >= 0xFF00 && code <= 0xFFEF))
            return true;
    }
    return false;
}

}  // namespace zantrel
