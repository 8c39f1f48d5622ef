#pragma once
// The common end of both command lines' parsing: --help, the usage line made from the options
// themselves, and the refusals every command line shares.

#include <CLI/CLI.hpp>
#include <initializer_list>
#include <string>

namespace zantrel {

// "usage: NAME [INPUT] [--flag] [--option VALUE] ...", wrapped, from `app`'s own options, so it
// always lists exactly the options there are.
std::string UsageText(const CLI::App& app);

// Parses argv with `app`. Returns true when the command should run; otherwise sets `exitCode`:
// 0 after printing the help, 2 after printing the reason and the usage to stderr. Refused as
// well: an option given a value that starts with "--" as a separate word (write --output=--x for
// such a name), and an empty name for any of `pathOptions` ("input" for the positional).
bool ParseArguments(CLI::App& app, int argc, char** argv,
                    std::initializer_list<const char*> pathOptions, int& exitCode);

// Prints `reason` and the usage to stderr; returns 2.
int RefuseArguments(const CLI::App& app, const std::string& reason);
// RefuseArguments with InParserWords(reason).
int RefuseArgumentsInParserWords(const CLI::App& app, const std::string& reason);

}  // namespace zantrel
