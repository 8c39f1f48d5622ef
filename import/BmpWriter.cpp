#include "import/BmpWriter.h"

#include <cstring>

namespace zantrel {

namespace {

std::size_t RowBytes(int width) {
    return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
}

}  // namespace

bmp::Headers MakeSaveHeaders(const bmp::Headers& kept) {
    bmp::Headers headers = kept;
    headers[bmp::kType] = 'B';
    headers[bmp::kType + 1] = 'M';
    bmp::WriteU32(headers, bmp::kFileSize, bmp::kSavedFileBytes);
    bmp::WriteU32(headers, bmp::kPixelOffset, bmp::kHeadersBytes);
    bmp::WriteU32(headers, bmp::kInfoSize, bmp::kInfoHeaderBytes);
    bmp::WriteU32(headers, bmp::kCompression, 0);
    if (bmp::ReadU32(headers, bmp::kImageSize) != 0)
        bmp::WriteU32(headers, bmp::kImageSize, bmp::kClassicPixelBytes);
    bmp::WriteU32(headers, bmp::kColorsUsed, 0);  // 24 bits per pixel: no palette follows
    return headers;
}

bmp::Headers MakePlainHeaders(int width, int height) {
    const auto imageBytes = static_cast<std::uint32_t>(RowBytes(width) * height);
    bmp::Headers headers{};
    headers[bmp::kType] = 'B';
    headers[bmp::kType + 1] = 'M';
    bmp::WriteU32(headers, bmp::kFileSize, bmp::kHeadersBytes + imageBytes);
    bmp::WriteU32(headers, bmp::kPixelOffset, bmp::kHeadersBytes);
    bmp::WriteU32(headers, bmp::kInfoSize, bmp::kInfoHeaderBytes);
    bmp::WriteU32(headers, bmp::kWidth, static_cast<std::uint32_t>(width));
    bmp::WriteU32(headers, bmp::kHeight, static_cast<std::uint32_t>(height));
    bmp::WriteU16(headers, bmp::kPlanes, 1);
    bmp::WriteU16(headers, bmp::kBitCount, 24);
    bmp::WriteU32(headers, bmp::kImageSize, imageBytes);
    return headers;
}

std::vector<std::uint8_t> EncodeBmp(const ColorPicture& picture, const bmp::Headers* kept) {
    const bool classic = kept && picture.width == kClassicSide && picture.height == kClassicSide;
    const bmp::Headers headers =
        classic ? MakeSaveHeaders(*kept) : MakePlainHeaders(picture.width, picture.height);
    const std::size_t rowBytes = RowBytes(picture.width);
    std::vector<std::uint8_t> file(headers.size() + rowBytes * picture.height, 0);
    std::memcpy(file.data(), headers.data(), headers.size());
    for (int r = 0; r < picture.height; ++r) {
        std::memcpy(file.data() + headers.size() + r * rowBytes, picture.Pixel(r, 0),
                    static_cast<std::size_t>(picture.width) * 3);
    }
    return file;
}

ColorPicture GrayToColor(const GrayPicture& gray) {
    ColorPicture color(gray.width, gray.height);
    for (std::size_t i = 0; i < gray.samples.size(); ++i)
        color.bgr[3 * i] = color.bgr[3 * i + 1] = color.bgr[3 * i + 2] = gray.samples[i];
    return color;
}

std::vector<std::uint8_t> EncodeGrayBmp(const GrayPicture& picture, const bmp::Headers* kept) {
    return EncodeBmp(GrayToColor(picture), kept);
}

}  // namespace zantrel
