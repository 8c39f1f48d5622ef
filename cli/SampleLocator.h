#pragma once

#include <optional>
#include <string>

// The bundled sample picture: beside the installed program, in the install prefix, or in
// the source tree the program was built from.
std::optional<std::string> FindSamplePicture();
