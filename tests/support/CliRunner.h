#pragma once
// Running the real zantrel-cli from a test.

#include <string>

namespace zantrel {

struct CliRun {
    int exitCode;
    std::string out;
};

// Runs `command` through the shell; stdout is captured, stderr goes to `errFile`.
CliRun RunShell(const std::string& command, const std::string& errFile = "/dev/null");

// zantrel-cli (at `program`) with `arguments`, shell-quoted by the caller, and without the
// LANGUAGE variable.
CliRun RunProgram(const std::string& program, const std::string& arguments,
                  const std::string& errFile = "/dev/null");

// A whole file as text.
std::string ReadText(const std::string& path);

// Whether `text` (UTF-8) holds a CJK ideograph, kana, CJK punctuation or a full-width form.
bool HasCjk(const std::string& text);

}  // namespace zantrel
