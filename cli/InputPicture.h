#pragma once
// The picture a command line names, or the bundled sample when it names none.

#include <cstdint>
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
// A folder is refused as a folder, a .ztl file pointed to `decode`, and a picture that claims
// more than `maxPixels` (0: no limit) is refused before it is decoded, naming --max-pixels.
int ReadInputPicture(const std::string& input, bool import, Shell& terminal, InputPicture& picture,
                     std::uint64_t maxPixels = 0);

// Refuses, on stderr, a file that claims more than `maxPixels` pixels (exit code 2) or a folder
// (exit code 1); 0 when `path` may be read.
int CheckInputFile(const std::string& path, std::uint64_t maxPixels);

// The path of the picture a run reads: `input`, or the sample when it is empty.
std::string InputPath(const std::string& input);

// Refuses, on stderr, a picture output (option name, path; empty paths are unused) whose name
// ends in an extension other than .bmp or .png. True when all of them are picture names.
bool PictureOutputNamesAreKnown(
    std::initializer_list<std::pair<const char*, const std::string*>> outputs);

// Refuses, on stderr, a run that ran out of memory for a `width` x `height` picture that needs
// about `neededBytes`; returns the exit code 2.
int ReportOutOfMemory(long long width, long long height, std::uint64_t neededBytes);

// Refuses, on stderr, a run on the picture read from `path` (the last part is shown) that needs
// about `neededBytes`, more than the memory available; returns the exit code 2.
int RefuseTooLargeToRun(const std::string& path, long long width, long long height,
                        std::uint64_t neededBytes);

// Refuses, on stderr, two of the named outputs (option name, path; empty paths are unused) that
// name one file. True when they all differ.
bool OutputsDiffer(std::initializer_list<std::pair<const char*, const std::string*>> outputs);

// The final suffix of the file name, from its last dot on (".png" for "x.png", "a.b.png" and
// the dot-file ".png" alike); empty where the name has no dot.
std::string FinalSuffix(const std::string& path);

// True when the file name's final suffix, in lower case, is `extension` (".png").
bool HasExtension(const std::string& path, std::string_view extension);

// Stages a picture the command line was asked for in `files`: PNG when `path` ends in ".png",
// otherwise a 24-bit BMP (behind the input's headers where it has them and the size allows).
void WriteOutputPicture(FileSet& files, const std::string& path, const GrayPicture& picture,
                        const InputPicture& input);
void WriteOutputPicture(FileSet& files, const std::string& path, const ColorPicture& picture,
                        const InputPicture& input);

}  // namespace zantrel
