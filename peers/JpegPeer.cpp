#include <turbojpeg.h>

#include <cstdlib>
#include <memory>

#include "peers/PeerCodec.h"

namespace zantrel {

namespace {

struct HandleCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

struct BufferFree {
    void operator()(unsigned char* buffer) const { tjFree(buffer); }
};

// The samples are bottom row first, as the library's bottom-up flag reads and writes them.
constexpr int kFlags = TJFLAG_BOTTOMUP | TJFLAG_ACCURATEDCT;

}  // namespace

std::optional<PeerCoding> CodeJpeg(const GrayPicture& gray, int quality) {
    if (quality < 1 || quality > 100 || gray.PixelCount() == 0)
        return std::nullopt;
    // This version of the library takes the switch for optimised Huffman tables only from
    // the environment; without it every picture would pay for the generic tables.
    setenv("TJ_OPTIMIZE", "1", 1);

    const Handle compressor(tjInitCompress());
    if (!compressor)
        return std::nullopt;
    unsigned char* jpeg = nullptr;
    unsigned long jpegSize = 0;
    const int failed =
        tjCompress2(compressor.get(), gray.samples.data(), gray.width, gray.width, gray.height,
                    TJPF_GRAY, &jpeg, &jpegSize, TJSAMP_GRAY, quality, kFlags);
    const std::unique_ptr<unsigned char, BufferFree> owned(jpeg);
    if (failed || jpegSize == 0)
        return std::nullopt;

    const Handle decompressor(tjInitDecompress());
    if (!decompressor)
        return std::nullopt;
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(decompressor.get(), jpeg, jpegSize, &width, &height, &subsampling,
                            &colorspace) != 0 ||
        width != gray.width || height != gray.height)
        return std::nullopt;
    PeerCoding coding{jpegSize, GrayPicture(width, height)};
    if (tjDecompress2(decompressor.get(), jpeg, jpegSize, coding.decoded.samples.data(), width,
                      width, height, TJPF_GRAY, kFlags) != 0)
        return std::nullopt;
    return coding;
}

}  // namespace zantrel
