#pragma once
// Opening and saving picture files for the front ends. A load returns the picture or why it
// did not load, a save the failure if there was one; neither shows anything, and a failed load
// or save changes nothing.

#include <optional>
#include <string>

#include "import/BmpReader.h"
#include "import/ZtlReader.h"
#include "picture/Expected.h"
#include "picture/Picture.h"
#include "platform/FileError.h"
#include "platform/LoadError.h"

namespace zantrel {

// A BMP file under the original rules (24-bit, 512 x 512). A refusal carries the message of
// the first rule the file breaks.
Expected<LoadedBmp, LoadError> LoadBmpPicture(const std::string& path);

// Writes `picture` as a 24-bit BMP file behind `kept` (may be null; see EncodeBmp); any old
// file stays as it was when this fails.
[[nodiscard]] std::optional<FileError> SaveBmpPicture(const std::string& path,
                                                      const ColorPicture& picture,
                                                      const bmp::Headers* kept);
[[nodiscard]] std::optional<FileError> SaveGrayBmpPicture(const std::string& path,
                                                          const GrayPicture& picture,
                                                          const bmp::Headers* kept);

// Any picture the import library reads (PNG, JPEG, TIFF, PNM, WebP, BMP of every depth), of
// any size from 1 x 1 to 16384 x 16384: gray pictures as they are (blue = green = red),
// 16-bit samples scaled to 8 bits with rounding, alpha ignored. A refusal (unreadable,
// truncated, unsupported, too large) carries a message naming the file and the reason.
Expected<ColorPicture, LoadError> ImportPictureFile(const std::string& path);

// A Zantrel file (.ztl), decoded. A refusal (not a .ztl file, another version, a header out of
// range, a damaged payload, trailing bytes, too large for the memory) carries a message naming
// the file and the reason.
Expected<ZtlPicture, LoadError> LoadZtlFile(const std::string& path);

// Writes an encoded .ztl file, with the same safety as the picture writers.
[[nodiscard]] std::optional<FileError> SaveZtlFile(const std::string& path,
                                                   const std::vector<std::uint8_t>& bytes);

// Writes `picture` as an 8-bit gray PNG file, with the same safety as the BMP writer.
[[nodiscard]] std::optional<FileError> SaveGrayPngPicture(const std::string& path,
                                                          const GrayPicture& picture);
// Writes `picture` as an 8-bit RGB PNG file.
[[nodiscard]] std::optional<FileError> SavePngPicture(const std::string& path,
                                                      const ColorPicture& picture);

}  // namespace zantrel
