#pragma once
// Opening and saving picture files for the front ends: every refusal and file error is
// reported through the shell, and a failed load or save changes nothing.

#include <string>

#include "import/BmpReader.h"
#include "import/ZtlReader.h"
#include "picture/Picture.h"

namespace zantrel {

enum class LoadResult { Loaded, Refused, FileError };

// A BMP file under the original rules (24-bit, 512 x 512). A refusal is shown as a message box
// captioned "Zantrel", a file error through the shell; only Loaded fills `loaded`.
LoadResult LoadBmpPicture(const std::string& path, LoadedBmp& loaded);

// Writes `picture` as a 24-bit BMP file behind `kept` (may be null; see EncodeBmp). Reports a
// failure through the shell and returns false; any old file stays as it was.
bool SaveBmpPicture(const std::string& path, const ColorPicture& picture, const bmp::Headers* kept);
bool SaveGrayBmpPicture(const std::string& path, const GrayPicture& picture,
                        const bmp::Headers* kept);

// Any picture the import library reads (PNG, JPEG, TIFF, PNM, WebP, BMP of every depth), of
// any size from 1 x 1 to 16384 x 16384: gray pictures as they are (blue = green = red),
// 16-bit samples scaled to 8 bits with rounding, alpha ignored. A refusal (unreadable,
// truncated, unsupported, too large) is shown as a message box naming the file and the
// reason, a file error through the shell; only Loaded fills `picture`.
LoadResult ImportPictureFile(const std::string& path, ColorPicture& picture);

// A Zantrel file (.ztl), decoded. A refusal (not a .ztl file, another version, a header out of
// range, a damaged payload, trailing bytes, too large for the memory) is shown as a message box
// naming the file and the reason, a file error through the shell; only Loaded fills `picture`.
LoadResult LoadZtlFile(const std::string& path, ZtlPicture& picture);

// Writes an encoded .ztl file, with the same safety as the picture writers.
bool SaveZtlFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Writes `picture` as an 8-bit gray PNG file, with the same safety as the BMP writer.
bool SaveGrayPngPicture(const std::string& path, const GrayPicture& picture);
// Writes `picture` as an 8-bit RGB PNG file.
bool SavePngPicture(const std::string& path, const ColorPicture& picture);

}  // namespace zantrel
