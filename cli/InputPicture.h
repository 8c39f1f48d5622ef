#pragma once
// The picture a command line names, or the bundled sample when it names none.

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

#include "import/BmpFormat.h"
#include "picture/Picture.h"
#include "platform/FileWriter.h"
#include "platform/Shell.h"

namespace zantrel {

// The bundled sample picture: beside the installed program, in the install prefix, or in
// the source tree the program was built from.
std::optional<std::string> FindSamplePicture();

// A picture read from the command line, with the BMP headers to save behind when it came
// in under the original BMP rules.
struct InputPicture {
    std::string path;  // the file that was read
    ColorPicture color;
    std::optional<bmp::Headers> bmpHeaders;
};

// Reads `input` (the sample when empty): with `import`, any format and size; otherwise under
// the BMP rules (24-bit, 512 x 512), adding a hint about --import to a refusal. Returns the
// exit code: 0 read, 1 a file error or no sample, 2 a refused picture; `terminal` has shown why.
int ReadInputPicture(const std::string& input, bool import, Shell& terminal, InputPicture& picture);

// Refuses, on stderr, two of the named outputs (option name, path; empty paths are unused) that
// name one file. True when they all differ.
bool OutputsDiffer(std::initializer_list<std::pair<const char*, const std::string*>> outputs);

// True when the file name's extension, in lower case, is `extension` (".png").
bool HasExtension(const std::string& path, std::string_view extension);

// Stages a picture the command line was asked for in `files`: PNG when `path` ends in ".png",
// otherwise a 24-bit BMP (behind the input's headers where it has them and the size allows).
void WriteOutputPicture(FileSet& files, const std::string& path, const GrayPicture& picture,
                        const InputPicture& input);
void WriteOutputPicture(FileSet& files, const std::string& path, const ColorPicture& picture,
                        const InputPicture& input);

}  // namespace zantrel
