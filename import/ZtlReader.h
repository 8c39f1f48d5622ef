#pragma once
// Reading a .ztl file from disk: the header is checked, and the size judged against the
// memory this machine has, before the payload is read and decoded.

#include <cstdint>
#include <string>
#include <string_view>

#include "codec/ZtlFile.h"

namespace zantrel {

struct ZtlReadResult {
    int readError = 0;  // errno of a failed open or read; the rest is then meaningless
    ZtlError error = ZtlError::None;
    bool tooLarge = false;  // the header's size needs more memory than there is
    int width = 0;          // as the header declares it, once it has been read
    int height = 0;
    std::uint64_t neededBytes = 0;  // tooLarge: what decoding and the pipeline would need

    bool Loaded() const { return readError == 0 && error == ZtlError::None && !tooLarge; }
};

// True when `bytes` start like a .ztl file (for telling it from a picture file).
bool LooksLikeZtl(std::span<const std::uint8_t> bytes);
bool IsZtlFile(const std::string& path);

// Reads and decodes the file; `picture` is filled only when the result is Loaded().
ZtlReadResult ReadZtlFile(const std::string& path, ZtlPicture& picture);

// The refusal's text, naming the file; empty for a loaded file or a read error.
std::string ZtlRefusalMessage(const ZtlReadResult& result, std::string_view fileName);

}  // namespace zantrel
