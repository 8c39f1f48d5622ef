#include "import/FormatChecks.h"

#include <bit>
#include <cstdlib>

namespace zantrel {

namespace {

std::uint32_t LittleEndian(const QByteArray& data, int offset, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = value << 8 | static_cast<std::uint8_t>(data[offset + i]);
    return value;
}

}  // namespace

// --- PNG: chunk lengths are checked against the file before the library sees them.

bool IsPng(const QByteArray& data) {
    return data.startsWith(QByteArray("\x89PNG\r\n\x1a\n", 8));
}

bool PngChunksFit(const QByteArray& data) {
    const auto size = static_cast<std::uint64_t>(data.size());
    std::uint64_t at = 8;
    while (at + 12 <= size) {
        std::uint64_t length = 0;
        for (int k = 0; k < 4; ++k)
            length = length << 8 | static_cast<std::uint8_t>(data[static_cast<qsizetype>(at) + k]);
        if (length > size - at - 12)
            return false;
        const bool end = data.mid(static_cast<qsizetype>(at) + 4, 4) == "IEND";
        at += 12 + length;
        if (end)
            return true;
    }
    return false;
}

// --- JPEG: the reader fills a picture cut short with gray and reports success, so the
// stream is walked here: a complete one reaches its end-of-image marker.

bool JpegReachesEnd(const QByteArray& data) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
    const std::size_t size = static_cast<std::size_t>(data.size());
    if (size < 2 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return false;
    std::size_t i = 2;
    for (;;) {
        while (i < size && bytes[i] != 0xFF)  // stray bytes between segments
            ++i;
        while (i < size && bytes[i] == 0xFF)  // fill bytes
            ++i;
        if (i >= size)
            return false;
        const std::uint8_t marker = bytes[i++];
        if (marker == 0xD9)
            return true;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;  // markers without a length
        if (i + 2 > size)
            return false;
        const std::size_t length = std::size_t{bytes[i]} << 8 | bytes[i + 1];
        if (length < 2)
            return false;
        i += length;
        if (marker != 0xDA)
            continue;
        // Entropy-coded data follow a start of scan, up to the next marker that is neither a
        // stuffed zero nor a restart.
        while (i + 1 < size) {
            if (bytes[i] == 0xFF && bytes[i + 1] != 0x00 &&
                (bytes[i + 1] < 0xD0 || bytes[i + 1] > 0xD7))
                break;
            ++i;
        }
    }
}

// --- GIF: the reader hands back a first frame cut short as if it were whole, so its blocks
// are walked here up to the end of the first frame's data.

bool GifFirstFrameComplete(const QByteArray& data) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
    const std::size_t size = static_cast<std::size_t>(data.size());
    const auto skipSubBlocks = [&](std::size_t& i) {
        for (;;) {
            if (i >= size)
                return false;
            const std::size_t length = bytes[i++];
            if (length == 0)
                return true;
            i += length;
        }
    };
    const auto colorTableBytes = [](std::uint8_t flags) {
        return (flags & 0x80) != 0 ? std::size_t{3} << ((flags & 7) + 1) : 0;
    };
    if (size < 13)
        return false;
    std::size_t i = 13 + colorTableBytes(bytes[10]);
    for (;;) {
        if (i >= size)
            return false;
        const std::uint8_t block = bytes[i++];
        if (block == 0x21) {  // an extension: its label, then sub-blocks
            ++i;
            if (!skipSubBlocks(i))
                return false;
        } else if (block == 0x2C) {  // the first image: descriptor, colours, code size, data
            if (i + 9 > size)
                return false;
            i += 9 + colorTableBytes(bytes[i + 8]) + 1;
            return skipSubBlocks(i);
        } else {
            return false;
        }
    }
}

// --- BMP: the reader stops quietly at the end of a short file, and widens samples of fewer
// than 8 bits by a plain shift, so that white comes out as 248. Both are put right here.

bool ReadBmpLayout(QIODevice& device, BmpLayout& layout) {
    if (!device.seek(0))
        return false;
    const QByteArray head = device.read(66);
    if (head.size() < 26)
        return false;
    layout.pixelOffset = LittleEndian(head, 10, 4);
    if (LittleEndian(head, 14, 4) == 12) {  // the older core header
        layout.width = LittleEndian(head, 18, 2);
        layout.height = LittleEndian(head, 20, 2);
        layout.bitCount = LittleEndian(head, 24, 2);
        return true;
    }
    if (head.size() < 34)
        return false;
    layout.width = static_cast<std::int32_t>(LittleEndian(head, 18, 4));
    layout.height = static_cast<std::int32_t>(LittleEndian(head, 22, 4));
    layout.bitCount = LittleEndian(head, 28, 2);
    layout.compression = LittleEndian(head, 30, 4);
    if (layout.bitCount == 16 && layout.compression == 0)
        layout.channelBits = {5, 5, 5};
    if ((layout.compression == 3 || layout.compression == 6) && head.size() >= 66) {
        for (int c = 0; c < 3; ++c)
            layout.channelBits[c] = std::popcount(LittleEndian(head, 54 + 4 * c, 4));
    }
    return true;
}

static bool BmpRunsReachEnd(const QByteArray& data, const BmpLayout& layout) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
    const std::size_t size = static_cast<std::size_t>(data.size());
    std::size_t i = layout.pixelOffset;
    while (i + 2 <= size) {
        const std::uint8_t count = bytes[i];
        const std::uint8_t code = bytes[i + 1];
        i += 2;
        if (count != 0 || code == 0)
            continue;  // a run, or the end of a line
        if (code == 1)
            return true;  // the end of the picture
        if (code == 2) {
            i += 2;  // a jump
            continue;
        }
        const std::size_t literal = layout.compression == 1 ? code : (code + 1u) / 2;
        i += (literal + 1) & ~std::size_t{1};
    }
    return false;
}

bool BmpComplete(QIODevice& device, const BmpLayout& layout) {
    switch (layout.compression) {
        case 0:
        case 3:
        case 6: {
            const long long width = std::abs(layout.width);
            const long long height = std::abs(layout.height);
            if (width > kMaxPictureSide || height > kMaxPictureSide)
                return false;
            const std::uint64_t rowBytes = (width * layout.bitCount + 31) / 32 * 4;
            return layout.pixelOffset + rowBytes * height <=
                   static_cast<std::uint64_t>(device.size());
        }
        case 1:
        case 2:
            return device.seek(0) && BmpRunsReachEnd(device.readAll(), layout);
        default:
            return true;
    }
}

// Samples of n < 8 bits widened by repeating their bits (white stays white).
void WidenNarrowSamples(const BmpLayout& layout, ColorPicture& picture) {
    if (layout.bitCount != 16 && layout.bitCount != 32)
        return;
    std::array<std::array<std::uint8_t, 256>, 3> tables{};
    bool narrow = false;
    for (int c = 0; c < 3; ++c) {
        const int bits = layout.channelBits[c];
        for (int v = 0; v < 256; ++v) {
            if (bits <= 0 || bits >= 8) {
                tables[c][v] = static_cast<std::uint8_t>(v);
                continue;
            }
            const std::uint32_t sample = static_cast<std::uint32_t>(v) >> (8 - bits);
            std::uint32_t wide = 0;
            for (int filled = 0; filled < 8; filled += bits)
                wide = wide << bits | sample;
            tables[c][v] = static_cast<std::uint8_t>(wide >> ((8 + bits - 1) / bits * bits - 8));
        }
        narrow = narrow || (bits > 0 && bits < 8);
    }
    if (!narrow)
        return;
    for (std::size_t i = 0; i < picture.bgr.size(); i += 3) {
        picture.bgr[i] = tables[2][picture.bgr[i]];
        picture.bgr[i + 1] = tables[1][picture.bgr[i + 1]];
        picture.bgr[i + 2] = tables[0][picture.bgr[i + 2]];
    }
}

}  // namespace zantrel
