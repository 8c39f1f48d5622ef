#include <jxl/decode.h>
#include <jxl/encode.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "peers/PeerCodec.h"

namespace zantrel {

namespace {

struct EncoderFree {
    void operator()(JxlEncoder* encoder) const { JxlEncoderDestroy(encoder); }
};
struct DecoderFree {
    void operator()(JxlDecoder* decoder) const { JxlDecoderDestroy(decoder); }
};

constexpr JxlPixelFormat kGray8 = {1, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};

std::optional<std::vector<std::uint8_t>> Encode(const std::vector<std::uint8_t>& pixels, int width,
                                                int height, float distance, int effort) {
    const std::unique_ptr<JxlEncoder, EncoderFree> encoder(JxlEncoderCreate(nullptr));
    if (!encoder)
        return std::nullopt;
    JxlBasicInfo info;
    JxlEncoderInitBasicInfo(&info);
    info.xsize = static_cast<std::uint32_t>(width);
    info.ysize = static_cast<std::uint32_t>(height);
    info.bits_per_sample = 8;
    info.num_color_channels = 1;
    info.uses_original_profile = JXL_FALSE;
    JxlColorEncoding colour;
    JxlColorEncodingSetToSRGB(&colour, JXL_TRUE);
    if (JxlEncoderSetBasicInfo(encoder.get(), &info) != JXL_ENC_SUCCESS ||
        JxlEncoderSetColorEncoding(encoder.get(), &colour) != JXL_ENC_SUCCESS)
        return std::nullopt;
    JxlEncoderFrameSettings* settings = JxlEncoderFrameSettingsCreate(encoder.get(), nullptr);
    if (!settings || JxlEncoderSetFrameDistance(settings, distance) != JXL_ENC_SUCCESS ||
        JxlEncoderFrameSettingsSetOption(settings, JXL_ENC_FRAME_SETTING_EFFORT, effort) !=
            JXL_ENC_SUCCESS ||
        JxlEncoderAddImageFrame(settings, &kGray8, pixels.data(), pixels.size()) != JXL_ENC_SUCCESS)
        return std::nullopt;
    JxlEncoderCloseInput(encoder.get());
    std::vector<std::uint8_t> file(4096);
    std::size_t used = 0;
    for (;;) {
        std::uint8_t* next = file.data() + used;
        std::size_t available = file.size() - used;
        const JxlEncoderStatus status = JxlEncoderProcessOutput(encoder.get(), &next, &available);
        used = static_cast<std::size_t>(next - file.data());
        if (status == JXL_ENC_SUCCESS)
            break;
        if (status != JXL_ENC_NEED_MORE_OUTPUT)
            return std::nullopt;
        file.resize(file.size() * 2);
    }
    file.resize(used);
    return file;
}

std::optional<std::vector<std::uint8_t>> Decode(const std::vector<std::uint8_t>& file, int width,
                                                int height) {
    const std::unique_ptr<JxlDecoder, DecoderFree> decoder(JxlDecoderCreate(nullptr));
    if (!decoder ||
        JxlDecoderSubscribeEvents(decoder.get(), JXL_DEC_BASIC_INFO | JXL_DEC_FULL_IMAGE) !=
            JXL_DEC_SUCCESS ||
        JxlDecoderSetInput(decoder.get(), file.data(), file.size()) != JXL_DEC_SUCCESS)
        return std::nullopt;
    JxlDecoderCloseInput(decoder.get());
    std::vector<std::uint8_t> pixels;
    bool full = false;
    for (;;) {
        const JxlDecoderStatus status = JxlDecoderProcessInput(decoder.get());
        if (status == JXL_DEC_BASIC_INFO) {
            JxlBasicInfo info;
            if (JxlDecoderGetBasicInfo(decoder.get(), &info) != JXL_DEC_SUCCESS ||
                info.xsize != static_cast<std::uint32_t>(width) ||
                info.ysize != static_cast<std::uint32_t>(height))
                return std::nullopt;
        } else if (status == JXL_DEC_NEED_IMAGE_OUT_BUFFER) {
            std::size_t size = 0;
            if (JxlDecoderImageOutBufferSize(decoder.get(), &kGray8, &size) != JXL_DEC_SUCCESS ||
                size != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
                return std::nullopt;
            pixels.resize(size);
            if (JxlDecoderSetImageOutBuffer(decoder.get(), &kGray8, pixels.data(), size) !=
                JXL_DEC_SUCCESS)
                return std::nullopt;
        } else if (status == JXL_DEC_FULL_IMAGE) {
            full = true;
        } else if (status == JXL_DEC_SUCCESS) {
            break;
        } else {
            return std::nullopt;
        }
    }
    if (!full)
        return std::nullopt;
    return pixels;
}

}  // namespace

// One gray channel in gray sRGB, lossy (the default XYB coding), written as the bare codestream
// (no container: the picture needs none), as the reference encoder writes it by default.
std::optional<PeerCoding> CodeJxl(const GrayPicture& gray, float distance, int effort) {
    if (!(distance > 0 && distance <= 15) || gray.width < 1 || gray.height < 1)
        return std::nullopt;
    const int width = gray.width;
    const int height = gray.height;
    std::vector<std::uint8_t> pixels(gray.PixelCount());
    for (int y = 0; y < height; ++y) {  // top row first
        const std::uint8_t* from = &gray.samples[gray.Index(height - 1 - y, 0)];
        std::copy(from, from + width, pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
    }
    const std::optional<std::vector<std::uint8_t>> file =
        Encode(pixels, width, height, distance, effort);
    if (!file)
        return std::nullopt;
    const std::optional<std::vector<std::uint8_t>> decoded = Decode(*file, width, height);
    if (!decoded)
        return std::nullopt;
    PeerCoding coding{file->size(), GrayPicture(width, height)};
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* from = decoded->data() + static_cast<std::size_t>(y) * width;
        std::copy(from, from + width,
                  &coding.decoded.samples[coding.decoded.Index(height - 1 - y, 0)]);
    }
    return coding;
}

}  // namespace zantrel
