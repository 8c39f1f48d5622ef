#pragma once
// The common end of both command lines' parsing: --help, and refusals with a usage line.

#include <CLI/CLI.hpp>

// Parses argv with `app`. Returns true when the command should run; otherwise sets
// `exitCode`: 0 after printing the help, 2 after printing the reason and `usage` to stderr.
bool ParseArguments(CLI::App& app, int argc, char** argv, const char* usage, int& exitCode);
