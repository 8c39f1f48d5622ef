#include "support/TestPictures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "picture/BmpFormat.h"
#include "picture/PictureStore.h"
#include "quadtree/BlockLists.h"
#include "quadtree/ImageProcessor.h"

void SetGrayPicture(const std::function<std::uint8_t(int row, int col)>& gray) {
    for (int r = 0; r < kPictureSide; ++r) {
        for (int c = 0; c < kPictureSide; ++c) {
            const std::uint8_t v = gray(r, c);
            std::uint8_t* pixel = g_colorPixels + r * kColorRowBytes + c * 3;
            pixel[0] = pixel[1] = pixel[2] = v;
        }
    }
    CImageProcessor().ConvertToGray();
}

void SetRandomGrayPicture(unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> sample(0, 255);
    std::vector<std::uint8_t> values(kPixelCount);
    for (auto& v : values)
        v = static_cast<std::uint8_t>(sample(random));
    SetGrayPicture([&](int r, int c) { return values[r * kPictureSide + c]; });
}

std::vector<std::uint8_t> MakeBmpBytes(const std::function<std::uint32_t(int, int)>& bgr) {
    std::vector<std::uint8_t> bytes(bmp::kSavedFileBytes, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    bmp::WriteU32(bytes, bmp::kFileSize, bmp::kSavedFileBytes);
    bmp::WriteU32(bytes, bmp::kPixelOffset, 54);
    bmp::WriteU32(bytes, bmp::kInfoSize, 40);
    bmp::WriteU32(bytes, bmp::kWidth, 512);
    bmp::WriteU32(bytes, bmp::kHeight, 512);
    bytes[26] = 1;  // planes
    bytes[bmp::kBitCount] = 24;
    bmp::WriteU32(bytes, bmp::kImageSize, kColorBytes);
    for (int r = 0; r < kPictureSide; ++r) {
        for (int c = 0; c < kPictureSide; ++c) {
            const std::uint32_t colour = bgr ? bgr(r, c) : std::uint32_t((r * 7 + c) & 0xFFFFFF);
            std::uint8_t* pixel = bytes.data() + 54 + r * kColorRowBytes + c * 3;
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

void ResetStore() {
    std::memset(g_colorPixels, 0, sizeof g_colorPixels);
    std::memset(g_grayPixels, 0, sizeof g_grayPixels);
    std::memset(g_graySquares, 0, sizeof g_graySquares);
    std::memset(g_resultPixels, 0, sizeof g_resultPixels);
    std::memset(g_grayGridPixels, 0, sizeof g_grayGridPixels);
    std::memset(g_gridPixels, 0, sizeof g_gridPixels);
    std::memset(g_fileHeader, 0, sizeof g_fileHeader);
    std::memset(g_infoHeader, 0, sizeof g_infoHeader);
    g_pictureLoaded = 0;
    g_displayMode = DISPLAY_NONE;
    g_blocks.clear();
    g_cutModels.clear();
    g_penalty = 0.0;
    g_groupCount = 0;
}
