#include "picture/BmpWriter.h"

#include <cstring>
#include <vector>

#include "picture/PictureStore.h"
#include "platform/FileWriter.h"

namespace {

bool WritePicture(const std::string& path, const std::vector<std::uint8_t>& pixels) {
    const auto headers = MakeSaveHeaders();
    std::vector<std::uint8_t> file(headers.begin(), headers.end());
    file.insert(file.end(), pixels.begin(), pixels.end());
    return WriteWholeFile(path, file);
}

}  // namespace

std::array<std::uint8_t, bmp::kHeadersBytes> MakeSaveHeaders() {
    std::array<std::uint8_t, bmp::kHeadersBytes> headers{};
    std::memcpy(headers.data(), g_fileHeader, kFileHeaderBytes);
    std::memcpy(headers.data() + kFileHeaderBytes, g_infoHeader, kInfoHeaderBytes);
    headers[bmp::kType] = 'B';
    headers[bmp::kType + 1] = 'M';
    bmp::WriteU32(headers, bmp::kFileSize, bmp::kSavedFileBytes);
    bmp::WriteU32(headers, bmp::kPixelOffset, bmp::kHeadersBytes);
    bmp::WriteU32(headers, bmp::kInfoSize, kInfoHeaderBytes);
    bmp::WriteU32(headers, bmp::kCompression, 0);
    if (bmp::ReadU32(headers, bmp::kImageSize) != 0) {
        bmp::WriteU32(headers, bmp::kImageSize, kColorBytes);
    }
    return headers;
}

bool SaveGrayPicture(const std::string& path, const std::uint8_t* gray) {
    std::vector<std::uint8_t> pixels(kColorBytes);
    for (int i = 0; i < kPixelCount; ++i) {
        pixels[3 * i] = pixels[3 * i + 1] = pixels[3 * i + 2] = gray[i];
    }
    return WritePicture(path, pixels);
}

bool SaveColorPicture(const std::string& path, const std::uint8_t* color) {
    return WritePicture(path, std::vector<std::uint8_t>(color, color + kColorBytes));
}

bool SaveResultPicture(const std::string& path) {
    return SaveGrayPicture(path, g_resultPixels);
}
