#pragma once
// Reading a .ztl file from disk: the header is checked, and the size judged against the
// memory this machine has, before the payload is read and decoded.

#include <cstdint>
#include <string>
#include <string_view>

#include "codec/ZtlFile.h"
#include "picture/Expected.h"

namespace zantrel {

// Why a file was not read.
struct ZtlReadError {
    int readError = 0;  // errno of a failed open or read; the rest is then meaningless
    ZtlError error = ZtlError::None;
    ZtlBadField badField;   // BadHeader: the field out of range
    bool tooLarge = false;  // the header's size needs more memory than there is
    int width = 0;          // as the header declares it, once it has been read
    int height = 0;
    std::uint64_t neededBytes = 0;  // tooLarge: what decoding and the pipeline would need
};

using ZtlReadResult = Expected<ZtlPicture, ZtlReadError>;

// True when `bytes` start like a .ztl file (for telling it from a picture file).
bool LooksLikeZtl(std::span<const std::uint8_t> bytes);
bool IsZtlFile(const std::string& path);

// Reads and decodes the file.
ZtlReadResult ReadZtlFile(const std::string& path);

// The refusal's text, naming the file; empty for a read error.
std::string ZtlRefusalMessage(const ZtlReadError& error, std::string_view fileName);

}  // namespace zantrel
