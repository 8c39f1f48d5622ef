#include <webp/decode.h>
#include <webp/encode.h>

#include <memory>
#include <vector>

#include "peers/PeerCodec.h"

namespace zantrel {

namespace {

constexpr int kMaxWebpSide = 16383;

struct WebpFree {
    void operator()(std::uint8_t* buffer) const { WebPFree(buffer); }
};
using WebpBuffer = std::unique_ptr<std::uint8_t, WebpFree>;

struct PictureFree {
    void operator()(WebPPicture* picture) const { WebPPictureFree(picture); }
};
struct WriterClear {
    void operator()(WebPMemoryWriter* writer) const { WebPMemoryWriterClear(writer); }
};

// `picture` coded at `config` into `writer`, which is emptied first.
bool Encode(const WebPConfig& config, WebPPicture& picture, WebPMemoryWriter& writer) {
    WebPMemoryWriterClear(&writer);
    WebPMemoryWriterInit(&writer);
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &writer;
    return WebPEncode(&config, &picture) != 0;
}

}  // namespace

// Lossy WebP has no gray mode: the picture goes in as RGB with R = G = B, and the gray sample
// read back is the rounded mean of the three decoded channels (they differ by the rounding of
// the colour conversion only, the chroma being flat).
std::optional<PeerCoding> CodeWebp(const GrayPicture& gray, float quality) {
    if (!(quality >= 0 && quality <= 100) || gray.width < 1 || gray.height < 1 ||
        gray.width > kMaxWebpSide || gray.height > kMaxWebpSide)
        return std::nullopt;
    const int width = gray.width;
    const int height = gray.height;

    WebPConfig config;
    WebPPicture picture;
    if (!WebPConfigInit(&config) || !WebPPictureInit(&picture))
        return std::nullopt;
    config.quality = quality;
    picture.width = width;
    picture.height = height;
    const std::unique_ptr<WebPPicture, PictureFree> ownedPicture(&picture);
    {
        // Top row first, as the library expects.
        std::vector<std::uint8_t> rgb(gray.PixelCount() * 3);
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* from = &gray.samples[gray.Index(height - 1 - y, 0)];
            std::uint8_t* to = &rgb[static_cast<std::size_t>(y) * width * 3];
            for (int x = 0; x < width; ++x, to += 3)
                to[0] = to[1] = to[2] = from[x];
        }
        if (!WebPPictureImportRGB(&picture, rgb.data(), width * 3))
            return std::nullopt;
    }
    WebPMemoryWriter writer;
    WebPMemoryWriterInit(&writer);
    const std::unique_ptr<WebPMemoryWriter, WriterClear> ownedWriter(&writer);
    // The largest pictures can overflow the format's partitions: the first (the macroblocks'
    // modes) holds 512 KiB, where the library may then spend fewer bits on the modes; each of
    // the others 16 MiB, where the coefficients are then spread over eight of them.
    // Each remedy is tried once; a noisy picture near the largest size may still not fit.
    bool limited = false, split = false;
    while (!Encode(config, picture, writer)) {
        if (picture.error_code == VP8_ENC_ERROR_PARTITION0_OVERFLOW && !limited) {
            config.partition_limit = 100;
            limited = true;
        } else if (picture.error_code == VP8_ENC_ERROR_PARTITION_OVERFLOW && !split) {
            config.partitions = 3;
            split = true;
        } else {
            return std::nullopt;
        }
    }
    const std::size_t bytes = writer.size;
    if (bytes == 0)
        return std::nullopt;

    int decodedWidth = 0, decodedHeight = 0;
    const WebpBuffer decoded(WebPDecodeRGB(writer.mem, bytes, &decodedWidth, &decodedHeight));
    if (!decoded || decodedWidth != width || decodedHeight != height)
        return std::nullopt;
    PeerCoding coding{bytes, GrayPicture(width, height)};
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = decoded.get() + static_cast<std::size_t>(y) * width * 3;
        std::uint8_t* to = &coding.decoded.samples[coding.decoded.Index(height - 1 - y, 0)];
        for (int x = 0; x < width; ++x, from += 3)
            to[x] = static_cast<std::uint8_t>((from[0] + from[1] + from[2] + 1) / 3);
    }
    return coding;
}

}  // namespace zantrel
