#include <openjpeg.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "peers/PeerCodec.h"

namespace zantrel {

namespace {

struct CodecCloser {
    void operator()(opj_codec_t* codec) const { opj_destroy_codec(codec); }
};
struct StreamCloser {
    void operator()(opj_stream_t* stream) const { opj_stream_destroy(stream); }
};
struct ImageCloser {
    void operator()(opj_image_t* image) const { opj_image_destroy(image); }
};
using Codec = std::unique_ptr<opj_codec_t, CodecCloser>;
using Stream = std::unique_ptr<opj_stream_t, StreamCloser>;
using Image = std::unique_ptr<opj_image_t, ImageCloser>;

// The codestream in memory, read and written through the library's stream callbacks.
struct MemoryFile {
    std::vector<std::uint8_t> bytes;
    std::size_t position = 0;
};

OPJ_SIZE_T Read(void* buffer, OPJ_SIZE_T count, void* user) {
    auto& file = *static_cast<MemoryFile*>(user);
    const std::size_t left = file.bytes.size() - std::min(file.position, file.bytes.size());
    const std::size_t n = std::min<std::size_t>(count, left);
    if (n == 0)
        return static_cast<OPJ_SIZE_T>(-1);  // the end of the stream
    std::memcpy(buffer, file.bytes.data() + file.position, n);
    file.position += n;
    return n;
}

OPJ_SIZE_T Write(void* buffer, OPJ_SIZE_T count, void* user) {
    auto& file = *static_cast<MemoryFile*>(user);
    if (file.position + count > file.bytes.size())
        file.bytes.resize(file.position + count);
    std::memcpy(file.bytes.data() + file.position, buffer, count);
    file.position += count;
    return count;
}

OPJ_OFF_T Skip(OPJ_OFF_T count, void* user) {
    auto& file = *static_cast<MemoryFile*>(user);
    if (count < 0 && static_cast<std::size_t>(-count) > file.position)
        return -1;
    file.position += count;
    return count;
}

OPJ_BOOL Seek(OPJ_OFF_T to, void* user) {
    if (to < 0)
        return OPJ_FALSE;
    static_cast<MemoryFile*>(user)->position = static_cast<std::size_t>(to);
    return OPJ_TRUE;
}

Stream MemoryStream(MemoryFile& file, bool input) {
    Stream stream(opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, input ? OPJ_TRUE : OPJ_FALSE));
    if (!stream)
        return stream;
    opj_stream_set_user_data(stream.get(), &file, nullptr);
    opj_stream_set_user_data_length(stream.get(), file.bytes.size());
    opj_stream_set_read_function(stream.get(), Read);
    opj_stream_set_write_function(stream.get(), Write);
    opj_stream_set_skip_function(stream.get(), Skip);
    opj_stream_set_seek_function(stream.get(), Seek);
    return stream;
}

// The library's default of six resolutions, fewer where the picture is too small for them:
// the lowest resolution must keep at least one sample, 2^(n-1) <= the shorter side.
int Resolutions(int width, int height) {
    int resolutions = 1;
    while (resolutions < 6 && (1 << resolutions) <= std::min(width, height))
        ++resolutions;
    return resolutions;
}

std::optional<std::vector<std::uint8_t>> Encode(const GrayPicture& gray, double bitsPerPixel) {
    opj_image_cmptparm_t component{};
    component.dx = component.dy = 1;
    component.w = static_cast<OPJ_UINT32>(gray.width);
    component.h = static_cast<OPJ_UINT32>(gray.height);
    component.prec = 8;
    component.sgnd = 0;
    const Image image(opj_image_create(1, &component, OPJ_CLRSPC_GRAY));
    if (!image)
        return std::nullopt;
    image->x1 = component.w;
    image->y1 = component.h;
    OPJ_INT32* samples = image->comps[0].data;
    for (int y = 0; y < gray.height; ++y) {  // top row first
        const std::uint8_t* row = &gray.samples[gray.Index(gray.height - 1 - y, 0)];
        std::copy(row, row + gray.width, samples + static_cast<std::size_t>(y) * gray.width);
    }

    opj_cparameters_t parameters;
    opj_set_default_encoder_parameters(&parameters);
    parameters.tcp_numlayers = 1;
    parameters.tcp_rates[0] = static_cast<float>(8.0 / bitsPerPixel);  // compression ratio
    parameters.cp_disto_alloc = 1;
    parameters.irreversible = 1;
    parameters.numresolution = Resolutions(gray.width, gray.height);

    const Codec codec(opj_create_compress(OPJ_CODEC_J2K));
    MemoryFile file;
    const Stream stream = codec ? MemoryStream(file, false) : nullptr;
    if (!stream || !opj_setup_encoder(codec.get(), &parameters, image.get()) ||
        !opj_start_compress(codec.get(), image.get(), stream.get()) ||
        !opj_encode(codec.get(), stream.get()) || !opj_end_compress(codec.get(), stream.get()))
        return std::nullopt;
    return std::move(file.bytes);
}

std::optional<GrayPicture> Decode(std::vector<std::uint8_t> bytes) {
    MemoryFile file{std::move(bytes)};
    const Codec codec(opj_create_decompress(OPJ_CODEC_J2K));
    const Stream stream = codec ? MemoryStream(file, true) : nullptr;
    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    opj_image_t* read = nullptr;
    if (!stream || !opj_setup_decoder(codec.get(), &parameters) ||
        !opj_read_header(stream.get(), codec.get(), &read))
        return std::nullopt;
    const Image image(read);
    if (!opj_decode(codec.get(), stream.get(), image.get()) ||
        !opj_end_decompress(codec.get(), stream.get()) || image->numcomps != 1 ||
        !image->comps[0].data || image->comps[0].w < 1 || image->comps[0].h < 1)
        return std::nullopt;
    const int width = static_cast<int>(image->comps[0].w);
    const int height = static_cast<int>(image->comps[0].h);
    GrayPicture decoded(width, height);
    const OPJ_INT32* samples = image->comps[0].data;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = &decoded.samples[decoded.Index(height - 1 - y, 0)];
        for (int x = 0; x < width; ++x)
            row[x] = static_cast<std::uint8_t>(
                std::clamp(samples[static_cast<std::size_t>(y) * width + x], 0, 255));
    }
    return decoded;
}

}  // namespace

std::optional<PeerCoding> CodeJpeg2000(const GrayPicture& gray, double bitsPerPixel) {
    if (!(bitsPerPixel > 0 && std::isfinite(bitsPerPixel)) || gray.PixelCount() == 0)
        return std::nullopt;
    std::optional<std::vector<std::uint8_t>> codestream = Encode(gray, bitsPerPixel);
    if (!codestream || codestream->empty())
        return std::nullopt;
    const std::size_t bytes = codestream->size();
    std::optional<GrayPicture> decoded = Decode(std::move(*codestream));
    if (!decoded || decoded->width != gray.width || decoded->height != gray.height)
        return std::nullopt;
    return PeerCoding{bytes, std::move(*decoded)};
}

}  // namespace zantrel
