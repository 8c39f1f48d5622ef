#pragma once
// The picture a command line names, or the bundled sample when it names none.

#include <optional>
#include <string>

// The bundled sample picture: beside the installed program, in the install prefix, or in
// the source tree the program was built from.
std::optional<std::string> FindSamplePicture();

// Loads `input` (the sample when empty) into the picture store and converts it to gray.
// Returns the exit code: 0 loaded, 1 a file error or no sample, 2 a refused picture; the
// shell has reported why. `path` receives the file that was read.
int LoadInputPicture(const std::string& input, std::string& path);
