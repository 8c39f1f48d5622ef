#pragma once
// Byte layout of the BMP form Zantrel reads and writes: a 14-byte file header, a 40-byte
// info header, then the rows, bottom row first, blue-green-red, each padded to 4 bytes.
// All integers are little-endian; readers are bounds-checked by their callers.

#include <array>
#include <cstdint>
#include <span>

namespace zantrel {

namespace bmp {

inline constexpr int kHeadersBytes = 54;  // file header + info header
inline constexpr int kFileHeaderBytes = 14;
inline constexpr int kInfoHeaderBytes = 40;
inline constexpr int kClassicPixelBytes = 512 * 512 * 3;  // 786432, rows need no padding
inline constexpr std::uint32_t kSavedFileBytes = 54 + kClassicPixelBytes;

using Headers = std::array<std::uint8_t, kHeadersBytes>;

// Field offsets from the start of the file.
inline constexpr int kType = 0;          // "BM"
inline constexpr int kFileSize = 2;      // bfSize
inline constexpr int kPixelOffset = 10;  // bfOffBits
inline constexpr int kInfoSize = 14;     // biSize
inline constexpr int kWidth = 18;
inline constexpr int kHeight = 22;
inline constexpr int kPlanes = 26;    // 16 bits
inline constexpr int kBitCount = 28;  // 16 bits
inline constexpr int kCompression = 30;
inline constexpr int kImageSize = 34;   // biSizeImage
inline constexpr int kColorsUsed = 46;  // biClrUsed

inline std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, int offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

inline std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, int offset) {
    return std::uint32_t{bytes[offset]} | std::uint32_t{bytes[offset + 1]} << 8 |
           std::uint32_t{bytes[offset + 2]} << 16 | std::uint32_t{bytes[offset + 3]} << 24;
}

inline std::int32_t ReadI32(std::span<const std::uint8_t> bytes, int offset) {
    return static_cast<std::int32_t>(ReadU32(bytes, offset));
}

inline void WriteU16(std::span<std::uint8_t> bytes, int offset, std::uint16_t value) {
    bytes[offset] = static_cast<std::uint8_t>(value);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void WriteU32(std::span<std::uint8_t> bytes, int offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace bmp

}  // namespace zantrel
