// Files written by other programs, and files Zantrel writes for them. The pictures are made
// by make_real_files.py when the tests run; each 24-bit 512 x 512 one comes with NAME.rgb,
// its pixels as the writing program itself decodes them.

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "files/StoreSnapshot.h"
#include "picture/BmpFormat.h"
#include "picture/BmpReader.h"
#include "picture/BmpWriter.h"
#include "quadtree/ImageProcessor.h"
#include "support/RecordingShell.h"
#include "support/TestPictures.h"

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
// `expected` gives for row r from the bottom and column c, as the store keeps them.
void ExpectDecodedAs(const std::vector<std::uint8_t>& rgb,
                     const std::function<Bgr(int r, int c)>& expected) {
    ASSERT_EQ(rgb.size(), static_cast<std::size_t>(kColorBytes));
    for (int r = 0; r < kPictureSide; ++r) {
        for (int c = 0; c < kPictureSide; ++c) {
            const std::uint8_t* decoded =
                rgb.data() + (kPictureSide - 1 - r) * kColorRowBytes + c * 3;
            ASSERT_EQ(expected(r, c), (Bgr{decoded[2], decoded[1], decoded[0]}))
                << "row " << r << " column " << c;
        }
    }
}

Bgr StoredColor(int r, int c) {
    const std::uint8_t* pixel = g_colorPixels + r * kColorRowBytes + c * 3;
    return {pixel[0], pixel[1], pixel[2]};
}

Bgr ResultAsGray(int r, int c) {
    const std::uint8_t sample = g_resultPixels[r * kPictureSide + c];
    return {sample, sample, sample};
}

TEST(RealFiles, TwentyFourBitFilesLoadWithThePixelsTheirWriterDecodes) {
    for (const RealFile& file : kAcceptedFiles) {
        SCOPED_TRACE(file.name);
        ExpectFileIs(file);
        ResetStore();
        CRecordingShell shell;
        ASSERT_EQ(LoadPictureFile(PathOf(file.name)), LoadResult::Loaded);
        EXPECT_TRUE(shell.messages.empty());
        EXPECT_TRUE(shell.fileErrors.empty());
        const std::vector<std::uint8_t> bytes = ReadBytes(PathOf(file.name));
        EXPECT_TRUE(std::equal(g_fileHeader, g_fileHeader + kFileHeaderBytes, bytes.begin()));
        ExpectDecodedAs(
            ReadBytes(kFolder + "/" +
                      std::filesystem::path(file.name).replace_extension(".rgb").string()),
            StoredColor);
    }
}

TEST(RealFiles, OtherFormsAreRefusedWithTheirMessageAndChangeNothing) {
    for (const RealFile& file : kRefusedFiles) {
        SCOPED_TRACE(file.name);
        ExpectFileIs(file);
        ResetStore();
        CRecordingShell shell;
        ASSERT_EQ(LoadPictureFile(PathOf("im-v5-24bit.bmp")), LoadResult::Loaded);
        g_displayMode = DISPLAY_QUADTREE;
        const StoreSnapshot before;
        EXPECT_EQ(LoadPictureFile(PathOf(file.name)), LoadResult::Refused);
        ASSERT_EQ(shell.messages.size(), 1u);
        EXPECT_EQ(shell.messages[0].text, BmpRefusalMessage(file.verdict));
        EXPECT_EQ(shell.messages[0].caption, "Zantrel");
        EXPECT_TRUE(shell.fileErrors.empty());
        EXPECT_TRUE(StoreSnapshot() == before);
    }
}

TEST(RealFiles, SavedResultsReadBackInOtherProgramsAndInZantrelAsTheResultSamples) {
    const std::string folder = MakeTempFolder();
    for (const RealFile& file : kAcceptedFiles) {
        SCOPED_TRACE(file.name);
        ResetStore();
        CRecordingShell shell;
        ASSERT_EQ(LoadPictureFile(PathOf(file.name)), LoadResult::Loaded);
        for (int r = 0; r < kPictureSide; ++r) {
            for (int c = 0; c < kPictureSide; ++c)  // every value, different along rows and columns
                g_resultPixels[r * kPictureSide + c] =
                    static_cast<std::uint8_t>(r * 3 + c * 7 + (r * c >> 6));
        }
        const std::string saved = folder + "/saved.bmp";
        ASSERT_TRUE(SaveResultPicture(saved));

        const std::string decoded = folder + "/decoded.rgb";
        RunTool(ZANTREL_CONVERT, saved, "-depth 8", "rgb:" + decoded);
        ExpectDecodedAs(ReadBytes(decoded), ResultAsGray);
        RunTool(ZANTREL_PILLOW_DECODE, saved, "", decoded);
        ExpectDecodedAs(ReadBytes(decoded), ResultAsGray);

        const std::vector<std::uint8_t> result(g_resultPixels, g_resultPixels + kPixelCount);
        ASSERT_EQ(LoadPictureFile(saved), LoadResult::Loaded);
        CImageProcessor().ConvertToGray();
        EXPECT_TRUE(std::equal(result.begin(), result.end(), g_grayPixels));
        EXPECT_TRUE(shell.messages.empty());
        EXPECT_TRUE(shell.fileErrors.empty());
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
