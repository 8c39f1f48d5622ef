// Files written by other programs, and files Zantrel writes for them. The pictures are made
// by make_real_files.py when the tests run; each 24-bit 512 x 512 one comes with NAME.rgb, its
// pixels as the writing program itself decodes them, and each picture for the import with
// NAME.EXT.rgb, its pixels as another program decodes them.

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

#include "import/BmpFormat.h"
#include "import/BmpReader.h"
#include "import/ImageImport.h"
#include "picture/GrayConversion.h"
#include "platform/PictureFiles.h"
#include "support/RecordingShell.h"
#include "support/TestPictures.h"

namespace zantrel {

namespace {

const std::string kFolder = ZANTREL_REAL_FILES;

struct RealFile {
    const char* name;
    int bitCount;  // what the writing program put at offset 28 (low byte), so the row's
    int infoSize;  // description is checked against the file; 0: not a BMP file
    BmpVerdict verdict;
};

const RealFile kAcceptedFiles[] = {
    {"im-bmp3-24bit.bmp", 24, 40, BmpVerdict::Accepted},
    {"im-v4-24bit.bmp", 24, 108, BmpVerdict::Accepted},
    {"im-v5-24bit.bmp", 24, 124, BmpVerdict::Accepted},
    {"pil-24bit.bmp", 24, 40, BmpVerdict::Accepted},
};

const RealFile kRefusedFiles[] = {
    {"im-8bit-palette.bmp", 8, 40, BmpVerdict::WrongDepth},
    {"pil-8bit-palette.bmp", 8, 40, BmpVerdict::WrongDepth},
    {"pil-8bit-gray.bmp", 8, 40, BmpVerdict::WrongDepth},
    {"im-8bit-rle.bmp", 8, 40, BmpVerdict::WrongDepth},
    {"im-32bit.bmp", 32, 124, BmpVerdict::WrongDepth},
    {"pil-32bit.bmp", 32, 40, BmpVerdict::WrongDepth},
    {"im-16bit.bmp", 16, 124, BmpVerdict::WrongDepth},
    {"pil-1bit.bmp", 1, 40, BmpVerdict::WrongDepth},
    {"im-os2-24bit.bmp", 1, 12, BmpVerdict::WrongDepth},  // its 1 is a pixel's red byte
    {"png-renamed.bmp", 0, 0, BmpVerdict::WrongDepth},
    {"pil-24bit-top-down.bmp", 24, 40, BmpVerdict::WrongSize},
    {"im-512x256.bmp", 24, 40, BmpVerdict::WrongSize},
    {"im-1x1.bmp", 24, 40, BmpVerdict::WrongSize},
    {"im-bmp3-truncated.bmp", 24, 40, BmpVerdict::Damaged},
};

std::string PathOf(const std::string& name) {
    return kFolder + "/" + name;
}

// Checks that the file is the form its row names, so a change in a tool cannot quietly
// turn a row into a different case.
void ExpectFileIs(const RealFile& file) {
    const std::vector<std::uint8_t> bytes = ReadBytes(PathOf(file.name));
    ASSERT_GT(bytes.size(), bmp::kHeadersBytes) << file.name << " was not written";
    if (file.infoSize == 0)
        return;
    EXPECT_EQ(bytes[bmp::kBitCount], file.bitCount);
    EXPECT_EQ(bmp::ReadU32(bytes, bmp::kInfoSize), static_cast<std::uint32_t>(file.infoSize));
}

// Runs a program on a file with a last argument; fails the test when it does not succeed.
// The command is built by appending: GCC 12 warns falsely on chains of operator+.
void RunTool(const std::string& program, const std::string& file, const std::string& middle,
             const std::string& last) {
    std::string command = program;
    command.append(" '").append(file).append("' ").append(middle).append(" '").append(last).append(
        "'");
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

using Bgr = std::array<std::uint8_t, 3>;

// Decoded samples (top row first, red-green-blue) against the blue-green-red pixel that
// `expected` gives for row r from the bottom and column c, as the pictures keep them.
void ExpectDecodedAs(const std::vector<std::uint8_t>& rgb, int width, int height,
                     const std::function<Bgr(int r, int c)>& expected) {
    ASSERT_EQ(rgb.size(), static_cast<std::size_t>(width) * height * 3);
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            const std::uint8_t* decoded = rgb.data() + ((height - 1 - r) * width + c) * 3;
            ASSERT_EQ(expected(r, c), (Bgr{decoded[2], decoded[1], decoded[0]}))
                << "row " << r << " column " << c;
        }
    }
}

TEST(RealFiles, TwentyFourBitFilesLoadWithThePixelsTheirWriterDecodes) {
    for (const RealFile& file : kAcceptedFiles) {
        SCOPED_TRACE(file.name);
        ExpectFileIs(file);
        RecordingShell shell;
        const Expected<LoadedBmp, LoadError> loaded = LoadBmpPicture(PathOf(file.name));
        ASSERT_TRUE(loaded);
        EXPECT_TRUE(shell.messages.empty());
        EXPECT_TRUE(shell.fileErrors.empty());
        const std::vector<std::uint8_t> bytes = ReadBytes(PathOf(file.name));
        EXPECT_TRUE(std::equal(loaded->headers.begin(), loaded->headers.end(), bytes.begin()));
        ExpectDecodedAs(
            ReadBytes(kFolder + "/" +
                      std::filesystem::path(file.name).replace_extension(".rgb").string()),
            kClassicSide, kClassicSide, [&](int r, int c) {
                const std::uint8_t* pixel = loaded->picture.Pixel(r, c);
                return Bgr{pixel[0], pixel[1], pixel[2]};
            });
    }
}

TEST(RealFiles, OtherFormsAreRefusedWithTheirMessage) {
    for (const RealFile& file : kRefusedFiles) {
        SCOPED_TRACE(file.name);
        ExpectFileIs(file);
        RecordingShell shell;
        const Expected<LoadedBmp, LoadError> loaded = LoadBmpPicture(PathOf(file.name));
        ASSERT_FALSE(loaded);
        EXPECT_TRUE(shell.messages.empty());
        ShowLoadError(shell, loaded.Error());
        ASSERT_EQ(shell.messages.size(), 1u);
        EXPECT_EQ(shell.messages[0].text, BmpRefusalMessage(file.verdict));
        EXPECT_EQ(shell.messages[0].caption, "Zantrel");
        EXPECT_TRUE(shell.fileErrors.empty());
    }
}

TEST(RealFiles, SavedResultsReadBackInOtherProgramsAndInZantrelAsTheResultSamples) {
    const std::string folder = MakeTempFolder();
    // Every value, different along rows and columns.
    const GrayPicture result = MakeGray(kClassicSide, kClassicSide, [](int r, int c) {
        return static_cast<std::uint8_t>(r * 3 + c * 7 + (r * c >> 6));
    });
    const auto resultAsGray = [&](int r, int c) {
        const std::uint8_t sample = result.At(r, c);
        return Bgr{sample, sample, sample};
    };
    for (const RealFile& file : kAcceptedFiles) {
        SCOPED_TRACE(file.name);
        const Expected<LoadedBmp, LoadError> loaded = LoadBmpPicture(PathOf(file.name));
        ASSERT_TRUE(loaded);
        const std::string saved = folder + "/saved.bmp";
        ASSERT_EQ(SaveGrayBmpPicture(saved, result, &loaded->headers), std::nullopt);

        const std::string decoded = folder + "/decoded.rgb";
        RunTool(ZANTREL_CONVERT, saved, "-depth 8", "rgb:" + decoded);
        ExpectDecodedAs(ReadBytes(decoded), kClassicSide, kClassicSide, resultAsGray);
        RunTool(ZANTREL_PILLOW_DECODE, saved, "", decoded);
        ExpectDecodedAs(ReadBytes(decoded), kClassicSide, kClassicSide, resultAsGray);

        const Expected<LoadedBmp, LoadError> reloaded = LoadBmpPicture(saved);
        ASSERT_TRUE(reloaded);
        EXPECT_TRUE(ConvertToGray(reloaded->picture) == result);
    }
    std::filesystem::remove_all(folder);
}

// --- The import of every other format.

struct ImportedFile {
    const char* name;
    int width;
    int height;
};

// Gray, 16-bit, alpha, palette, odd sizes, and BMP of every depth and layout.
const ImportedFile kImportedFiles[] = {
    {"imp-gray8.png", 768, 512},
    {"imp-gray16.png", 768, 512},
    {"imp-rgb.png", 768, 512},
    {"imp-rgba.png", 768, 512},
    {"imp-palette.png", 768, 512},
    {"imp-rgb16.png", 768, 512},
    {"imp-3x5.png", 3, 5},
    {"imp-gray.jpg", 768, 512},
    {"imp-color.jpg", 768, 512},
    {"imp-3x5.jpg", 3, 5},
    {"imp-rgb.tif", 768, 512},
    {"imp-gray8.pgm", 768, 512},
    {"imp-rgb8.ppm", 768, 512},
    {"imp-gray16.pgm", 768, 512},
    {"imp-rgb16.ppm", 768, 512},
    {"imp-lossless.webp", 768, 512},
    {"imp-palette.gif", 768, 512},
    {"imp-4bit.bmp", 768, 512},
    {"imp-3x5.bmp", 3, 5},
    {"imp-565.bmp", 768, 512},
    {"imp-555.bmp", 768, 512},
    {"pil-1bit.bmp", 512, 512},
    {"pil-8bit-palette.bmp", 512, 512},
    {"pil-8bit-gray.bmp", 512, 512},
    {"im-8bit-rle.bmp", 512, 512},
    {"im-32bit.bmp", 512, 512},
    {"pil-32bit.bmp", 512, 512},
    {"im-os2-24bit.bmp", 512, 512},
    {"pil-24bit-top-down.bmp", 512, 512},
    {"im-512x256.bmp", 512, 256},
};

Bgr PixelOf(const ColorPicture& picture, int r, int c) {
    const std::uint8_t* pixel = picture.Pixel(r, c);
    return {pixel[0], pixel[1], pixel[2]};
}

TEST(ImportFiles, EveryFormatDecodesAsAnotherProgramDecodesIt) {
    for (const ImportedFile& file : kImportedFiles) {
        SCOPED_TRACE(file.name);
        RecordingShell shell;
        const Expected<ColorPicture, LoadError> imported = ImportPictureFile(PathOf(file.name));
        ASSERT_TRUE(imported);
        EXPECT_TRUE(shell.messages.empty());
        EXPECT_TRUE(shell.fileErrors.empty());
        const ColorPicture& picture = *imported;
        ASSERT_EQ(picture.width, file.width);
        ASSERT_EQ(picture.height, file.height);
        ExpectDecodedAs(ReadBytes(PathOf(std::string(file.name) + ".rgb")), file.width, file.height,
                        [&](int r, int c) { return PixelOf(picture, r, c); });
    }
}

TEST(ImportFiles, DamagedUnknownAndOversizedFilesAreRefusedWithTheirMessage) {
    const struct {
        const char* name;
        const char* message;
    } refusals[] = {
        {"truncated.png", "无法读取 truncated.png：图像文件不完整或已损坏!"},
        {"truncated.jpg", "无法读取 truncated.jpg：图像文件不完整或已损坏!"},
        {"im-bmp3-truncated.bmp", "无法读取 im-bmp3-truncated.bmp：图像文件不完整或已损坏!"},
        {"text.png", "无法读取 text.png：不是可识别的图像格式。"},
        {"empty.png", "无法读取 empty.png：不是可识别的图像格式。"},
        {"too-wide.pgm", "无法读取 too-wide.pgm：图像为 16385×1，宽和高须在 1 到 16384 之间。"},
        {"too-high-16bit.pgm",
         "无法读取 too-high-16bit.pgm：图像为 1×16385，宽和高须在 1 到 16384 之间。"},
    };
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        const Expected<ColorPicture, LoadError> picture = ImportPictureFile(PathOf(refusal.name));
        ASSERT_FALSE(picture);
        RecordingShell shell;
        ShowLoadError(shell, picture.Error());
        ASSERT_EQ(shell.messages.size(), 1u);
        EXPECT_EQ(shell.messages[0].text, refusal.message);
        EXPECT_EQ(shell.messages[0].caption, "Zantrel");
        EXPECT_EQ(shell.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_TRUE(shell.fileErrors.empty());
    }
}

TEST(ImportFiles, FileErrorsNameTheCauseAndTheFile) {
    const std::string folder = MakeTempFolder();
    const std::string pipe = folder + "/pipe.png";  // must not block the reader
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string locked = folder + "/unreadable.png";
    WriteBytes(locked, ReadBytes(PathOf("imp-3x5.png")));
    ::chmod(locked.c_str(), 0);
    std::vector<std::pair<std::string, FileErrorCause>> errors = {
        {folder + "/missing.png", FileErrorCause::NotFound},
        {folder, FileErrorCause::AccessDenied},
        {pipe, FileErrorCause::NotRegularFile},
    };
    if (::geteuid() != 0)  // permissions do not hold the superuser back
        errors.emplace_back(locked, FileErrorCause::AccessDenied);
    for (const auto& [path, cause] : errors) {
        SCOPED_TRACE(path);
        const Expected<ColorPicture, LoadError> picture = ImportPictureFile(path);
        ASSERT_FALSE(picture);
        ASSERT_FALSE(picture.Error().IsRefusal());
        EXPECT_EQ(std::get<FileErrorCause>(picture.Error().cause), cause);
        EXPECT_EQ(picture.Error().fileName, path);
    }
    std::filesystem::remove_all(folder);
}

TEST(ImportFiles, SizeAndMemoryAreDecidedBeforeDecoding) {
    const std::uint64_t largest = PipelineBytesFor(kMaxPictureSide, kMaxPictureSide);
    const struct {
        long long width, height;
        std::uint64_t available;  // 0: unknown
        ImportRefusal refusal;
    } decisions[] = {
        {16384, 16384, largest, ImportRefusal::None},
        {16384, 16384, largest - 1, ImportRefusal::TooLarge},
        {16384, 16384, 0, ImportRefusal::None},
        {0, 1, largest, ImportRefusal::BadSize},
        {1, 16385, largest, ImportRefusal::BadSize},
    };
    for (const auto& d : decisions) {
        EXPECT_EQ(CheckPictureSize(d.width, d.height, d.available), d.refusal)
            << d.width << " x " << d.height << " in " << d.available;
    }

    // A picture that decodes well is refused, before any pixel is decoded, when memory is short.
    const ImportResult result =
        ReadPictureBytes(ReadBytes(PathOf("imp-rgb.png")), PipelineBytesFor(768, 512) - 1);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.Error().refusal, ImportRefusal::TooLarge);
    EXPECT_EQ(ImportRefusalMessage(result.Error(), "/a/folder/imp-rgb.png"),
              "无法读取 imp-rgb.png：图像为 768×512，需要约 122 MB 内存，超出了可用内存。");
}

TEST(ImportFiles, SavedPngFilesReadBackInOtherProgramsAndInZantrel) {
    const std::string folder = MakeTempFolder();
    const GrayPicture gray = MakeGray(67, 45, [](int r, int c) {
        return static_cast<std::uint8_t>(r * 5 + c * 3 + (r * c >> 3));
    });
    ColorPicture color(67, 45);
    for (std::size_t i = 0; i < color.bgr.size(); ++i)
        color.bgr[i] = static_cast<std::uint8_t>(i * 7 + i / 201);
    ColorPicture grayAsColor(67, 45);
    for (std::size_t i = 0; i < gray.samples.size(); ++i)
        std::fill_n(grayAsColor.bgr.begin() + 3 * i, 3, gray.samples[i]);

    const struct {
        std::string path;
        std::optional<FileError> error;
        int colorType;  // of the PNG header: 0 gray, 2 RGB
        const ColorPicture& expected;
    } saves[] = {
        {folder + "/gray.png", SaveGrayPngPicture(folder + "/gray.png", gray), 0, grayAsColor},
        {folder + "/color.png", SavePngPicture(folder + "/color.png", color), 2, color},
    };
    for (const auto& save : saves) {
        SCOPED_TRACE(save.path);
        ASSERT_EQ(save.error, std::nullopt);
        const std::vector<std::uint8_t> bytes = ReadBytes(save.path);
        ASSERT_GT(bytes.size(), 26u);
        EXPECT_EQ(bytes[24], 8);  // bits a sample
        EXPECT_EQ(bytes[25], save.colorType);
        const std::string decoded = folder + "/decoded.rgb";
        RunTool(ZANTREL_PILLOW_DECODE, save.path, "", decoded);
        ExpectDecodedAs(ReadBytes(decoded), 67, 45,
                        [&](int r, int c) { return PixelOf(save.expected, r, c); });
        const Expected<ColorPicture, LoadError> back = ImportPictureFile(save.path);
        ASSERT_TRUE(back);
        EXPECT_TRUE(*back == save.expected);
    }
    std::filesystem::remove_all(folder);
}

}  // namespace

}  // namespace zantrel
