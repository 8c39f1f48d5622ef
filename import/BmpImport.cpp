#include "import/BmpImport.h"

#include <bit>
#include <limits>

#include "picture/MessageText.h"

namespace zantrel {

namespace {

constexpr int kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreHeaderBytes = 12;  // the oldest header: 16-bit sizes, 3-byte colours
constexpr std::uint32_t kInfoHeaderBytes = 40;

std::uint32_t LittleEndian(const QByteArray& data, std::uint32_t offset, int bytes) {
    if (offset + static_cast<std::uint32_t>(bytes) > static_cast<std::uint32_t>(data.size()))
        return 0;  // a field the shorter headers leave out
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | static_cast<std::uint8_t>(data[static_cast<qsizetype>(offset) + i]);
    return value;
}

// The headers of the second OS/2 format run from 16 to 64 bytes; the sizes 40, 52 and 56 are
// read as the Windows headers of those sizes. Their compression codes 3 and 4 mean other codings.
bool IsOs2Header(std::uint32_t size) {
    return size >= 16 && size <= 64 && size != 40 && size != 52 && size != 56;
}

BmpHeaders Unsupported(const char* variant) {
    BmpHeaders headers;
    headers.verdict = BmpHeaderVerdict::Unsupported;
    headers.variant = variant;
    return headers;
}

// False for a mask whose bits are not one run or lie outside a pixel.
bool ValidMask(std::uint32_t mask, int bitCount) {
    if (mask == 0)
        return true;
    if (bitCount < 32 && mask >> bitCount != 0)
        return false;
    const std::uint32_t run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0;
}

// A channel's value under its mask, scaled to 8 bits with rounding to nearest.
std::uint8_t Channel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0)
        return 0;
    const std::uint64_t top = mask >> std::countr_zero(mask);
    const std::uint64_t value = (pixel & mask) >> std::countr_zero(mask);
    return static_cast<std::uint8_t>((value * 255 + top / 2) / top);
}

std::uint64_t RowBytes(const BmpHeaders& headers) {
    return (static_cast<std::uint64_t>(headers.width) * headers.bitCount + 31) / 32 * 4;
}

void SetColour(ColorPicture& picture, long long row, long long col,
               const std::array<std::uint8_t, 3>& bgr) {
    std::uint8_t* pixel = picture.Pixel(static_cast<int>(row), static_cast<int>(col));
    pixel[0] = bgr[0];
    pixel[1] = bgr[1];
    pixel[2] = bgr[2];
}

std::array<std::uint8_t, 3> PaletteColour(const BmpHeaders& headers, std::uint32_t index) {
    return index < headers.palette.size() ? headers.palette[index]
                                          : std::array<std::uint8_t, 3>{0, 0, 0};
}

// Walks run-length data from their start, drawing into `picture` when it is given. True only
// when every run and jump stays inside its row and the picture and the data reach their end
// code.
bool WalkRuns(const QByteArray& data, const BmpHeaders& headers, ColorPicture* picture) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
    const std::size_t size = static_cast<std::size_t>(data.size());
    const bool nibbles = headers.coding == BmpCoding::Rle4;
    long long x = 0;
    long long y = 0;  // rows from the bottom, as stored
    const auto draw = [&](std::uint32_t index) {
        if (picture != nullptr)
            SetColour(*picture, y, x, PaletteColour(headers, index));
        ++x;
    };
    std::size_t i = 0;
    while (i + 2 <= size) {
        const std::uint32_t count = bytes[i];
        const std::uint32_t code = bytes[i + 1];
        i += 2;
        if (count != 0) {  // `count` pixels of one index, or of two alternating nibbles
            if (y >= headers.height || x + count > headers.width)
                return false;
            for (std::uint32_t k = 0; k < count; ++k)
                draw(nibbles ? (k % 2 == 0 ? code >> 4 : code & 15) : code);
            continue;
        }
        if (code == 0) {  // the end of a row
            x = 0;
            if (++y > headers.height)
                return false;
        } else if (code == 1) {  // the end of the picture
            return true;
        } else if (code == 2) {  // a jump right and up
            if (i + 2 > size || x + bytes[i] > headers.width || y + bytes[i + 1] >= headers.height)
                return false;
            x += bytes[i];
            y += bytes[i + 1];
            i += 2;
        } else {  // `code` pixels given one by one, padded to a whole number of 16-bit words
            const std::size_t stored = nibbles ? (code + 1) / 2 : code;
            if (y >= headers.height || x + code > headers.width || i + stored > size)
                return false;
            for (std::uint32_t k = 0; k < code; ++k)
                draw(nibbles ? bytes[i + k / 2] >> (k % 2 == 0 ? 4 : 0) & 15 : bytes[i + k]);
            i += (stored + 1) & ~std::size_t{1};
        }
    }
    return false;
}

void DecodeRow(const std::uint8_t* row, const BmpHeaders& headers, ColorPicture& picture,
               long long r) {
    const int bits = headers.bitCount;
    for (long long c = 0; c < headers.width; ++c) {
        if (bits <= 8) {
            const long long bit = c * bits;
            const std::uint32_t index = row[bit / 8] >> (8 - bits - bit % 8) & ((1u << bits) - 1);
            SetColour(picture, r, c, PaletteColour(headers, index));
        } else if (bits == 24) {
            SetColour(picture, r, c, {row[3 * c], row[3 * c + 1], row[3 * c + 2]});
        } else {
            const std::uint8_t* p = row + c * (bits / 8);
            std::uint32_t pixel = p[0] | std::uint32_t{p[1]} << 8;
            if (bits == 32)
                pixel |= std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
            SetColour(picture, r, c,
                      {Channel(pixel, headers.masks[2]), Channel(pixel, headers.masks[1]),
                       Channel(pixel, headers.masks[0])});
        }
    }
}

}  // namespace

bool IsBmp(const QByteArray& start) {
    return start.startsWith("BM");
}

BmpHeaders ReadBmpHeaders(QIODevice& device) {
    BmpHeaders headers;  // damaged until every check has passed
    if (!device.seek(0))
        return headers;
    const QByteArray head = device.read(kFileHeaderBytes + 124);
    const std::uint32_t infoSize = LittleEndian(head, kFileHeaderBytes, 4);
    const bool core = infoSize == kCoreHeaderBytes;
    const bool os2 = IsOs2Header(infoSize);
    if (!IsBmp(head) || (!core && !os2 && infoSize != 40 && infoSize != 52 && infoSize != 56 &&
                         infoSize != 108 && infoSize != 124))
        return headers;
    if (static_cast<std::uint32_t>(head.size()) < kFileHeaderBytes + infoSize)
        return headers;
    // The fields a shorter header leaves out are 0.
    const QByteArray info = head.left(kFileHeaderBytes + infoSize);
    const std::uint32_t planes = LittleEndian(info, core ? 22 : 26, 2);
    const int bitCount = static_cast<int>(LittleEndian(info, core ? 24 : 28, 2));
    const std::uint32_t compression = core ? 0 : LittleEndian(info, 30, 4);
    // The oldest header's sizes are unsigned 16-bit, the others' signed 32-bit.
    const auto size = [&](std::uint32_t coreAt, std::uint32_t at) -> long long {
        if (core)
            return LittleEndian(info, coreAt, 2);
        return static_cast<std::int32_t>(LittleEndian(info, at, 4));
    };
    const long long width = size(18, 18);
    long long height = size(20, 22);
    if (planes != 1 || width < 0 || height == std::numeric_limits<std::int32_t>::min())
        return headers;

    BmpCoding coding = BmpCoding::Plain;
    switch (compression) {
        case 0:
            if (bitCount == 64)
                return Unsupported(ZANTREL_MESSAGE("Zantrel", "每像素 64 位"));
            if (bitCount != 1 && bitCount != 2 && bitCount != 4 && bitCount != 8 &&
                bitCount != 16 && bitCount != 24 && bitCount != 32)
                return headers;
            break;
        case 1:
        case 2:
            if (bitCount != (compression == 1 ? 8 : 4))
                return headers;
            coding = compression == 1 ? BmpCoding::Rle8 : BmpCoding::Rle4;
            break;
        case 3:
            if (os2 || bitCount == 1)
                return Unsupported(ZANTREL_MESSAGE("Zantrel", "Huffman 1D 编码"));
            if (bitCount != 16 && bitCount != 32)
                return headers;
            coding = BmpCoding::Bitfields;
            break;
        case 4:
            if (os2 || bitCount == 24)
                return Unsupported(ZANTREL_MESSAGE("Zantrel", "24 位游程编码（RLE24）"));
            coding = BmpCoding::Jpeg;
            break;
        case 5:
            coding = BmpCoding::Png;
            break;
        case 6:
            return Unsupported(ZANTREL_MESSAGE("Zantrel", "带 alpha 的位域"));
        default:
            return headers;
    }
    // Stored top-down (a negative height) only without compression.
    if (height < 0 && coding != BmpCoding::Plain && coding != BmpCoding::Bitfields)
        return headers;

    headers.width = width;
    headers.topDown = height < 0;
    headers.height = height < 0 ? -height : height;
    headers.coding = coding;
    headers.bitCount = bitCount;
    headers.pixelOffset = LittleEndian(head, 10, 4);
    headers.imageBytes = LittleEndian(info, 34, 4);
    std::uint32_t tableStart = kFileHeaderBytes + infoSize;
    if (bitCount == 16 || bitCount == 32) {
        if (coding == BmpCoding::Bitfields) {
            // After a 40-byte header the masks follow it; the larger ones hold them.
            if (infoSize == kInfoHeaderBytes)
                tableStart += 12;
            if (static_cast<std::uint32_t>(head.size()) < kFileHeaderBytes + 52)
                return headers;
            for (int c = 0; c < 3; ++c)
                headers.masks[c] = LittleEndian(head, kFileHeaderBytes + 40 + 4 * c, 4);
        } else if (bitCount == 16) {
            headers.masks = {0x7C00, 0x03E0, 0x001F};
        } else {
            headers.masks = {0xFF0000, 0xFF00, 0xFF};
        }
        for (const std::uint32_t mask : headers.masks) {
            if (!ValidMask(mask, bitCount))
                return headers;
        }
    }
    if (headers.pixelOffset < tableStart)
        return headers;

    if (bitCount <= 8 && coding != BmpCoding::Jpeg && coding != BmpCoding::Png) {
        const std::uint32_t entryBytes = core ? 3 : 4;
        const std::uint32_t room = (headers.pixelOffset - tableStart) / entryBytes;
        const std::uint32_t claimed = core ? 0 : LittleEndian(info, 46, 4);
        // A palette may claim more colours than the indices reach, if they are all there;
        // without a claim it holds what lies before the pixels, at most one colour an index.
        if (claimed > room)
            return headers;
        const std::uint32_t entries = std::min(claimed != 0 ? claimed : room, 1u << bitCount);
        if (!device.seek(tableStart))
            return headers;
        const QByteArray table = device.read(static_cast<qint64>(entries) * entryBytes);
        if (static_cast<std::uint32_t>(table.size()) != entries * entryBytes)
            return headers;
        for (std::uint32_t e = 0; e < entries; ++e) {
            const auto* colour =
                reinterpret_cast<const std::uint8_t*>(table.constData()) + e * entryBytes;
            headers.palette.push_back({colour[0], colour[1], colour[2]});
        }
    }
    headers.verdict = BmpHeaderVerdict::Readable;
    return headers;
}

QByteArray ReadBmpPayload(QIODevice& device, const BmpHeaders& headers) {
    if (!device.seek(headers.pixelOffset))
        return {};
    // A size past the end of the file reads what there is (and is never allocated whole).
    const qint64 rest = device.size() - device.pos();
    if (headers.imageBytes == 0 || headers.imageBytes >= rest)
        return device.readAll();
    return device.read(headers.imageBytes);
}

std::optional<ColorPicture> ReadBmpPixels(QIODevice& device, const BmpHeaders& headers) {
    if (headers.verdict != BmpHeaderVerdict::Readable || !device.seek(headers.pixelOffset))
        return std::nullopt;
    const int width = static_cast<int>(headers.width);
    const int height = static_cast<int>(headers.height);
    if (headers.coding == BmpCoding::Rle8 || headers.coding == BmpCoding::Rle4) {
        const QByteArray runs = device.readAll();
        if (!WalkRuns(runs, headers, nullptr))
            return std::nullopt;
        ColorPicture picture(width, height);
        // Pixels the runs skip keep the first colour of the palette.
        for (int r = 0; r < height; ++r) {
            for (int c = 0; c < width; ++c)
                SetColour(picture, r, c, PaletteColour(headers, 0));
        }
        WalkRuns(runs, headers, &picture);
        return picture;
    }
    const std::uint64_t rowBytes = RowBytes(headers);
    if (headers.pixelOffset + rowBytes * static_cast<std::uint64_t>(height) >
        static_cast<std::uint64_t>(device.size()))
        return std::nullopt;
    ColorPicture picture(width, height);
    for (int s = 0; s < height; ++s) {
        const QByteArray row = device.read(static_cast<qint64>(rowBytes));
        if (static_cast<std::uint64_t>(row.size()) != rowBytes)
            return std::nullopt;
        DecodeRow(reinterpret_cast<const std::uint8_t*>(row.constData()), headers, picture,
                  headers.topDown ? height - 1 - s : s);
    }
    return picture;
}

}  // namespace zantrel
