#include "import/PngWriter.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <cstring>

namespace zantrel {

namespace {

// PNG rows run top first, the pictures' bottom first.
std::vector<std::uint8_t> EncodeRows(QImage image, const std::uint8_t* samples, int rowBytes,
                                     int height) {
    if (image.isNull())
        return {};
    for (int y = 0; y < height; ++y) {
        std::memcpy(image.scanLine(y),
                    samples + static_cast<std::size_t>(height - 1 - y) * rowBytes, rowBytes);
    }
    QByteArray bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::WriteOnly);
    QImageWriter writer(&device, "png");
    if (!writer.write(image))
        return {};
    return {bytes.begin(), bytes.end()};
}

}  // namespace

std::vector<std::uint8_t> EncodeGrayPng(const GrayPicture& picture) {
    return EncodeRows(QImage(picture.width, picture.height, QImage::Format_Grayscale8),
                      picture.samples.data(), picture.width, picture.height);
}

std::vector<std::uint8_t> EncodePng(const ColorPicture& picture) {
    // Blue, green, red in memory is the byte order of the toolkit's BGR888 form.
    return EncodeRows(QImage(picture.width, picture.height, QImage::Format_BGR888),
                      picture.bgr.data(), picture.width * 3, picture.height);
}

}  // namespace zantrel
