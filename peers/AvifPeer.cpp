#include <avif/avif.h>

#include <cstring>
#include <memory>

#include "peers/PeerCodec.h"

namespace zantrel {

namespace {

struct ImageFree {
    void operator()(avifImage* image) const { avifImageDestroy(image); }
};
struct EncoderFree {
    void operator()(avifEncoder* encoder) const { avifEncoderDestroy(encoder); }
};
struct DecoderFree {
    void operator()(avifDecoder* decoder) const { avifDecoderDestroy(decoder); }
};
struct DataFree {
    void operator()(avifRWData* data) const { avifRWDataFree(data); }
};

}  // namespace

// Monochrome (4:0:0), 8 bits, full range: the luma plane is the gray picture itself, going in
// and coming back, so no colour conversion touches it.
std::optional<PeerCoding> CodeAvif(const GrayPicture& gray, int quantizer, int speed) {
    if (quantizer < AVIF_QUANTIZER_BEST_QUALITY || quantizer > AVIF_QUANTIZER_WORST_QUALITY ||
        gray.width < 1 || gray.height < 1)
        return std::nullopt;
    const int width = gray.width;
    const int height = gray.height;
    const std::unique_ptr<avifImage, ImageFree> image(
        avifImageCreate(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), 8,
                        AVIF_PIXEL_FORMAT_YUV400));
    if (!image)
        return std::nullopt;
    image->yuvRange = AVIF_RANGE_FULL;
    if (avifImageAllocatePlanes(image.get(), AVIF_PLANES_YUV) != AVIF_RESULT_OK)
        return std::nullopt;
    for (int y = 0; y < height; ++y) {  // top row first
        std::memcpy(image->yuvPlanes[AVIF_CHAN_Y] +
                        static_cast<std::size_t>(y) * image->yuvRowBytes[AVIF_CHAN_Y],
                    &gray.samples[gray.Index(height - 1 - y, 0)], static_cast<std::size_t>(width));
    }

    const std::unique_ptr<avifEncoder, EncoderFree> encoder(avifEncoderCreate());
    if (!encoder)
        return std::nullopt;
    encoder->codecChoice = AVIF_CODEC_CHOICE_AOM;
    encoder->speed = speed;
    encoder->minQuantizer = encoder->maxQuantizer = quantizer;
    avifRWData file = AVIF_DATA_EMPTY;
    const std::unique_ptr<avifRWData, DataFree> ownedFile(&file);
    if (avifEncoderWrite(encoder.get(), image.get(), &file) != AVIF_RESULT_OK)
        return std::nullopt;

    const std::unique_ptr<avifDecoder, DecoderFree> decoder(avifDecoderCreate());
    const std::unique_ptr<avifImage, ImageFree> decoded(avifImageCreateEmpty());
    if (!decoder || !decoded ||
        avifDecoderReadMemory(decoder.get(), decoded.get(), file.data, file.size) !=
            AVIF_RESULT_OK ||
        decoded->width != static_cast<std::uint32_t>(width) ||
        decoded->height != static_cast<std::uint32_t>(height) || decoded->depth != 8 ||
        !decoded->yuvPlanes[AVIF_CHAN_Y])
        return std::nullopt;
    PeerCoding coding{file.size, GrayPicture(width, height)};
    for (int y = 0; y < height; ++y) {
        std::memcpy(&coding.decoded.samples[coding.decoded.Index(height - 1 - y, 0)],
                    decoded->yuvPlanes[AVIF_CHAN_Y] +
                        static_cast<std::size_t>(y) * decoded->yuvRowBytes[AVIF_CHAN_Y],
                    static_cast<std::size_t>(width));
    }
    return coding;
}

}  // namespace zantrel
