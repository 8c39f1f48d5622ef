#pragma once
// BMP files of every variant the import reads, decoded here rather than by the toolkit's
// reader, which refuses valid variants as damaged, takes invalid run-length data for a
// picture and widens 5- and 6-bit channels by repeating their bits. The headers are checked
// first; the pixel data are checked whole before the picture is allocated.

#include <QByteArray>
#include <QIODevice>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "picture/Picture.h"

namespace zantrel {

enum class BmpCoding { Plain, Rle8, Rle4, Bitfields, Jpeg, Png };

enum class BmpHeaderVerdict {
    Readable,
    Damaged,      // headers cut short or contradicting themselves
    Unsupported,  // a valid variant the import does not decode (`variant` names it)
};

// What the headers say, once checked.
struct BmpHeaders {
    BmpHeaderVerdict verdict = BmpHeaderVerdict::Damaged;
    const char* variant = nullptr;  // Unsupported: its name, a ZANTREL_MESSAGE source text
    long long width = 0;
    long long height = 0;  // positive; `topDown` tells the row order
    bool topDown = false;
    BmpCoding coding = BmpCoding::Plain;
    int bitCount = 0;
    std::uint32_t pixelOffset = 0;
    std::uint32_t imageBytes = 0;          // the header's size of the pixel data (0: unset)
    std::array<std::uint32_t, 3> masks{};  // red, green, blue (16 and 32 bits a pixel)
    std::vector<std::array<std::uint8_t, 3>> palette;  // blue, green, red
};

// True when `start` begins as a BMP file does.
bool IsBmp(const QByteArray& start);

// Reads and checks the headers and the palette from the start of `device`.
BmpHeaders ReadBmpHeaders(QIODevice& device);

// A JPEG or PNG picture stored whole as the pixel data (BmpCoding::Jpeg, Png).
QByteArray ReadBmpPayload(QIODevice& device, const BmpHeaders& headers);

// The picture of readable headers whose size has been accepted; nullopt when the pixel data
// are cut short or invalid (a run or a jump past the end of a row or of the picture, run-length
// data that never reach their end code), found before the picture is allocated.
std::optional<ColorPicture> ReadBmpPixels(QIODevice& device, const BmpHeaders& headers);

}  // namespace zantrel
