#include "support/TestPictures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "import/BmpFormat.h"

namespace zantrel {

GrayPicture MakeGray(int width, int height,
                     const std::function<std::uint8_t(int row, int col)>& gray) {
    GrayPicture picture(width, height);
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c)
            picture.At(r, c) = gray(r, c);
    }
    return picture;
}

GrayPicture RandomGray(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> sample(0, 255);
    GrayPicture picture(width, height);
    for (auto& v : picture.samples)
        v = static_cast<std::uint8_t>(sample(random));
    return picture;
}

GrayPicture RampsAndEdges(int width, int height) {
    return MakeGray(width, height, [](int r, int c) {
        const int ramp = (r / 3 + c / 5) % 200;
        const int edge = (2 * r + c) % 173 < 60 ? 50 : 0;
        return static_cast<std::uint8_t>(ramp + edge);
    });
}

GrayPicture OddSizePicture(int kind, int width, int height) {
    return kind == 0 ? RandomGray(width, height, static_cast<unsigned>(width * 31 + height))
                     : RampsAndEdges(width, height);
}

std::vector<std::uint8_t> MakeBmpBytes(const std::function<std::uint32_t(int, int)>& bgr) {
    constexpr int kSide = 512;
    std::vector<std::uint8_t> bytes(bmp::kSavedFileBytes, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    bmp::WriteU32(bytes, bmp::kFileSize, bmp::kSavedFileBytes);
    bmp::WriteU32(bytes, bmp::kPixelOffset, 54);
    bmp::WriteU32(bytes, bmp::kInfoSize, 40);
    bmp::WriteU32(bytes, bmp::kWidth, kSide);
    bmp::WriteU32(bytes, bmp::kHeight, kSide);
    bytes[bmp::kPlanes] = 1;
    bytes[bmp::kBitCount] = 24;
    bmp::WriteU32(bytes, bmp::kImageSize, bmp::kClassicPixelBytes);
    for (int r = 0; r < kSide; ++r) {
        for (int c = 0; c < kSide; ++c) {
            const std::uint32_t colour = bgr ? bgr(r, c) : std::uint32_t((r * 7 + c) & 0xFFFFFF);
            std::uint8_t* pixel = bytes.data() + 54 + (r * kSide + c) * 3;
            pixel[0] = colour & 0xFF;
            pixel[1] = (colour >> 8) & 0xFF;
            pixel[2] = (colour >> 16) & 0xFF;
        }
    }
    return bytes;
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string MakeTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zantrel-test-XXXXXX").string();
    const char* made = ::mkdtemp(pattern.data());
    EXPECT_NE(made, nullptr);
    return pattern;
}

}  // namespace zantrel
