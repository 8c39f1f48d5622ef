#pragma once
// Reading the one BMP form the original rules accept: uncompressed 24 bits per pixel,
// exactly 512 x 512. The file is checked completely before its picture is returned; a refused
// or unreadable file returns only why.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "import/BmpFormat.h"
#include "picture/Expected.h"
#include "picture/Picture.h"

namespace zantrel {

enum class BmpVerdict {
    Accepted,    // the file loads; never the verdict of a BmpReadError
    WrongDepth,  // "请输入24位的图像!"; also files too short to hold the depth byte
    WrongSize,   // "请输入512X512大小的图像!"; top-down files included
    // "图像文件不完整或已损坏!": short, not "BM", an info header under 40 bytes, planes
    // other than 1, compressed, or pixels outside the file
    Damaged,
};

// The message box text for a refusal; empty for Accepted.
std::string BmpRefusalMessage(BmpVerdict verdict);

// Random access to the bytes of a file, on disk or in memory.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Reads exactly out.size() bytes at `offset`. Returns 0, or an errno value on failure
    // (EIO-like errors, or ENODATA when the source ended early).
    virtual int Read(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
};

// An accepted file: its colour picture and the 54 header bytes, kept for saving.
struct LoadedBmp {
    ColorPicture picture;
    bmp::Headers headers{};
};

// Why a file was not loaded.
struct BmpReadError {
    BmpVerdict verdict = BmpVerdict::Damaged;
    int readError = 0;  // errno of a failed read or open; the verdict is then meaningless
};

using BmpReadResult = Expected<LoadedBmp, BmpReadError>;

// Checks the source and returns its picture, or why it was not taken.
BmpReadResult StageBmp(ByteSource& source);

// Reads the file at `path`: a folder gives EISDIR, anything but a regular file EINVAL, and a
// file another program holds an exclusive lock on EWOULDBLOCK.
BmpReadResult ReadBmpFile(const std::string& path);

// The same checks for bytes already in memory.
BmpReadResult ReadBmpBytes(std::span<const std::uint8_t> bytes);

}  // namespace zantrel
