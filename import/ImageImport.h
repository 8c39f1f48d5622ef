#pragma once
// Reading pictures of every common format (PNG, JPEG, TIFF, PNM, WebP, GIF, BMP of every
// depth) through the toolkit's image readers, into a colour picture of any size the engine
// takes. The size is checked before anything is decoded or allocated, and only a picture that
// decoded completely is returned; a refused or unreadable file returns only why.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "picture/Expected.h"
#include "picture/Picture.h"

namespace zantrel {

// The most pixels a file may claim before a front end asks (the desktop) or needs a flag (the
// command line, --max-pixels): a small file can claim a huge picture, which then costs
// gigabytes and tens of seconds. 10^8 pixels, a little below 10000 x 10000, as the common
// image libraries' own limits; larger files stay readable once the user raises the limit.
inline constexpr std::uint64_t kDefaultMaxPixels = 100000000;

enum class ImportRefusal {
    None,
    UnknownFormat,      // no reader recognises the bytes (an empty or a text file included)
    Damaged,            // the reader recognised the format but the data ends early or is corrupt
    BadSize,            // width or height outside 1..kMaxPictureSide
    TooLarge,           // the pipeline would need more memory than the machine has available
    TooManyPixels,      // more pixels than the caller's limit (CheckPictureSize's maxPixels)
    Unsupported,        // a valid variant of a format that the import does not decode (`variant`)
    UnsupportedFormat,  // a known format the import does not read at all (`variant`)
};

// Why a file was not imported.
struct ImportError {
    ImportRefusal refusal = ImportRefusal::None;
    int readError = 0;    // errno of a failed open or read; the refusal is then meaningless
    long long width = 0;  // the size the file declares (BadSize, TooLarge)
    long long height = 0;
    std::uint64_t neededBytes = 0;  // TooLarge, TooManyPixels: what the pipeline would need
    std::uint64_t maxPixels = 0;    // TooManyPixels: the limit it passed
    const char* variant = nullptr;  // Unsupported(Format): its name, a ZANTREL_MESSAGE source text
};

using ImportResult = Expected<ColorPicture, ImportError>;

// The decision on a declared size, made before decoding: BadSize, TooManyPixels (only when
// `maxPixels` is not 0 and width * height exceeds it), TooLarge (only when `availableBytes` is
// known, i.e. not 0), or None, in that order.
ImportRefusal CheckPictureSize(long long width, long long height, std::uint64_t availableBytes,
                               std::uint64_t maxPixels = 0);

// The size a picture file or a .ztl file declares in its header, read without decoding any
// pixel (or payload), so that a front end can apply its pixel limit before it reads the file.
// nullopt when the file cannot be opened or its reader cannot tell the size in advance.
struct DeclaredSize {
    long long width = 0;
    long long height = 0;
    bool ztl = false;  // a .ztl file (its size from the Zantrel header)
};
std::optional<DeclaredSize> ReadDeclaredSize(const std::string& path);

// The refusal of a file called `fileName` (the last path component is shown) that claims
// `width` x `height`, more than `maxPixels`; it gives the memory the run would need.
std::string TooManyPixelsMessage(std::string_view fileName, long long width, long long height,
                                 std::uint64_t maxPixels);

// Rough seconds a whole exact-mode run (decoding, every stage) takes for width x height on one
// core of the machine it was measured on; for a question asked before a large file is read.
double PredictedRunSeconds(long long width, long long height);

// The message box text for a refusal of the file called `fileName` (the last path component
// is shown); empty for a read error.
std::string ImportRefusalMessage(const ImportError& error, std::string_view fileName);

// The refusal of a picture of `width` x `height` that would need `neededBytes`, more than
// the memory there is; the .ztl reader words it the same way.
std::string TooLargeMessage(std::string_view fileName, long long width, long long height,
                            std::uint64_t neededBytes);

// Reads the file at `path`: a folder gives EISDIR, anything but a regular file EINVAL (a FIFO
// never blocks), and a file another program holds an exclusive lock on EWOULDBLOCK.
ImportResult ReadPictureFile(const std::string& path);

// The same decoding for bytes already in memory, checked against `availableBytes` of memory
// (0: unknown) instead of what the machine has.
ImportResult ReadPictureBytes(std::span<const std::uint8_t> bytes,
                              std::uint64_t availableBytes = AvailableMemoryBytes());

// The image readers' own warnings (libpng's, libtiff's texts) never reach stderr during a read,
// where a front end prints its own refusal for the same file: the reads above hold them, each
// once, in place of the toolkit's message handler (which they install at the first read, and
// which passes every other message on as before). This installs it before any read.
void SilenceReaderWarnings();

// The warnings the readers gave during this thread's last read (ReadPictureFile,
// ReadPictureBytes), each once, in order.
std::vector<std::string> ReaderWarnings();

// Those warnings as lines for a verbose run, each "NAME: warning\n" with NAME the last path
// component of `fileName`; empty when there were none.
std::string ReaderWarningLines(std::string_view fileName);

}  // namespace zantrel
