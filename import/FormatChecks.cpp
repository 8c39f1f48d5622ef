#include "import/FormatChecks.h"

#include <array>
#include <cstddef>

namespace zantrel {

// --- PNG: chunk lengths and CRCs are checked before the library sees them (it allocates what a
// length claims, and prints its errors itself).

bool IsPng(const QByteArray& data) {
    return data.startsWith(QByteArray("\x89PNG\r\n\x1a\n", 8));
}

namespace {

// The CRC of PNG chunks (and of zlib), over the chunk's type and data.
std::uint32_t Crc32(const std::uint8_t* bytes, std::size_t size) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::uint32_t BigEndian(const QByteArray& data, std::uint64_t at) {
    std::uint32_t value = 0;
    for (int k = 0; k < 4; ++k)
        value = value << 8 | static_cast<std::uint8_t>(data[static_cast<qsizetype>(at) + k]);
    return value;
}

// Every chunk of a PNG stream up to its end chunk, as (offset, data length); false when one
// does not lie within the data or fails its CRC.
template <typename Visit>
bool WalkPngChunks(const QByteArray& data, Visit&& visit) {
    const auto size = static_cast<std::uint64_t>(data.size());
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
    std::uint64_t at = 8;
    while (at + 12 <= size) {
        const std::uint64_t length = BigEndian(data, at);
        if (length > size - at - 12 ||
            Crc32(bytes + at + 4, length + 4) != BigEndian(data, at + 8 + length))
            return false;
        visit(at, length);
        const bool end = data.mid(static_cast<qsizetype>(at) + 4, 4) == "IEND";
        at += 12 + length;
        if (end)
            return true;
    }
    return false;
}

}  // namespace

bool PngChunksFit(const QByteArray& data) {
    return WalkPngChunks(data, [](std::uint64_t, std::uint64_t) {});
}

QByteArray WithoutTransparentColour(const QByteArray& data) {
    constexpr qsizetype kColourType = 8 + 8 + 9;  // in the header chunk, which comes first
    if (data.size() <= kColourType || (data[kColourType] != 0 && data[kColourType] != 2))
        return {};
    QByteArray kept = data.left(8);
    bool dropped = false;
    WalkPngChunks(data, [&](std::uint64_t at, std::uint64_t length) {
        const auto chunk =
            data.mid(static_cast<qsizetype>(at), static_cast<qsizetype>(length) + 12);
        if (chunk.mid(4, 4) == "tRNS")
            dropped = true;
        else
            kept += chunk;
    });
    return dropped ? kept : QByteArray();
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

bool LooksLikeTga(const QByteArray& start) {
    if (start.size() < 18)
        return false;
    const auto byte = [&](int i) { return static_cast<unsigned char>(start[i]); };
    const int mapType = byte(1);
    const int imageType = byte(2);
    const int width = byte(12) | byte(13) << 8;
    const int height = byte(14) | byte(15) << 8;
    const int depth = byte(16);
    const bool knownType = imageType == 1 || imageType == 2 || imageType == 3 || imageType == 9 ||
                           imageType == 10 || imageType == 11;
    const bool knownDepth = depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
    return mapType <= 1 && knownType && knownDepth && width > 0 && height > 0 &&
           (mapType == 1) == (imageType == 1 || imageType == 9);
}

}  // namespace zantrel
