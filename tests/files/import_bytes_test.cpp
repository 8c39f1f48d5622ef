// The import's readers on files made byte by byte: the forms and damages of PNM, BMP and PNG
// that no installed program writes. Expected pixels follow the formats' rules, worked out by
// hand (v8 = round(v * 255 / maximum)).

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include <QBuffer>
#include <QColor>
#include <QImage>

#include "import/ImageImport.h"
#include "import/PngWriter.h"
#include "support/TestPictures.h"

// The largest single allocation, to tell whether a reader allocated the picture a header
// claims before it found the data missing.
namespace {
std::size_t g_largestAllocation = 0;
}

void* operator new(std::size_t size) {
    g_largestAllocation = std::max(g_largestAllocation, size);
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace zantrel {

namespace {

using namespace std::literals;

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

// An imported picture's pixels as 0xRRGGBB, top row first (the file's order).
std::vector<std::uint32_t> TopRowFirst(const ColorPicture& picture) {
    std::vector<std::uint32_t> pixels;
    for (int r = picture.height - 1; r >= 0; --r) {
        for (int c = 0; c < picture.width; ++c) {
            const std::uint8_t* pixel = picture.Pixel(r, c);
            pixels.push_back(std::uint32_t{pixel[2]} << 16 | std::uint32_t{pixel[1]} << 8 |
                             pixel[0]);
        }
    }
    return pixels;
}

std::vector<std::uint32_t> Grays(std::initializer_list<std::uint32_t> grays) {
    std::vector<std::uint32_t> pixels;
    for (const std::uint32_t gray : grays)
        pixels.push_back(gray * 0x010101);
    return pixels;
}

struct ByteCase {
    std::string name;
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint32_t> rgb;  // top row first; empty: refused as damaged
};

void ExpectImports(const std::vector<ByteCase>& cases) {
    for (const ByteCase& c : cases) {
        SCOPED_TRACE(c.name);
        g_largestAllocation = 0;
        const ImportResult result = ReadPictureBytes(c.bytes, 0);
        if (c.rgb.empty()) {
            ASSERT_FALSE(result);
            EXPECT_EQ(result.Error().refusal, ImportRefusal::Damaged);
            EXPECT_LT(g_largestAllocation, std::size_t{1} << 20) << "allocated before checking";
        } else {
            ASSERT_TRUE(result) << static_cast<int>(result.Error().refusal);
            EXPECT_EQ(TopRowFirst(*result), c.rgb);
        }
    }
}

TEST(ImportPnm, EveryMaximumRoundsAndASampleAboveItOrMissingDataIsDamage) {
    std::vector<std::uint8_t> sixteenBit = Bytes("P5\n2 1\n1000\n");
    sixteenBit.insert(sixteenBit.end(), {0x01, 0xF4, 0x03, 0xE8});  // 500, 1000
    ExpectImports({
        {"text, maximum 100", Bytes("P2\n5 1\n100\n0 50 1 99 100\n"), Grays({0, 128, 3, 252, 255})},
        {"binary, maximum 7", Bytes("P5 3 1 7\n\x03\x04\x07"), Grays({109, 146, 255})},
        {"binary, maximum 255", Bytes("P5 2 1 255\n\x00\xFF"sv), Grays({0, 255})},
        {"16-bit, maximum 1000", sixteenBit, Grays({128, 255})},
        {"text bitmap without spaces", Bytes("P1\n3 2\n010\n1 1 0"),
         Grays({255, 0, 255, 0, 0, 255})},
        {"binary bitmap", Bytes("P4 3 1\n\x40"), Grays({255, 0, 255})},
        {"text sample above the maximum", Bytes("P2\n2 1\n255\n300 10\n"), {}},
        {"binary sample above the maximum", Bytes("P5 2 1 100\n\x32\x65"), {}},
        {"maximum 0", Bytes("P5 1 1 0\n\x00"sv), {}},
        {"text samples missing", Bytes("P2\n3 1\n255\n1 2\n"), {}},
        {"16-bit header alone", Bytes("P5\n16000 16000\n65535\n"), {}},
        {"8-bit header alone", Bytes("P6\n16000 16000\n255\n"), {}},
        {"text header and one sample", Bytes("P2 16000 16000 255\n0"), {}},
        {"bitmap header alone", Bytes("P4 16000 16000\n"), {}},
    });
}

// A comment may stand anywhere before the one white-space byte that ends a binary header, also
// right after its last number: it is skipped up to and with its line end, which then ends the
// header (Netpbm's rule, and ImageMagick's), and never read as samples.
TEST(ImportPnm, ACommentRightAfterANumberIsSkippedNotReadAsSamples) {
    ExpectImports({
        {"binary, comment after the maximum", Bytes("P5 1 1 255#c\n\x50"), Grays({80})},
        {"binary, comment after the maximum, CR", Bytes("P5 1 1 255#c\r\x50"), Grays({80})},
        {"binary, empty comment after the maximum", Bytes("P5 2 1 255#\n\x50\x23"),
         Grays({80, 35})},
        {"binary, comment before the maximum", Bytes("P5 1 1 #m\n255\n\x50"), Grays({80})},
        {"16-bit, comment after the maximum", Bytes("P5 1 1 1000#c\n\x01\xF4"), Grays({128})},
        {"colour, comment after the maximum", Bytes("P6 1 1 255#rgb\n\x10\x20\x30"), {0x102030}},
        {"bitmap, comment after the height", Bytes("P4 3 1#c\n\x40"), Grays({255, 0, 255})},
        {"text, comment right after a sample", Bytes("P2 2 1 255\n7#x\n9"), Grays({7, 9})},
        {"text, comment right after the maximum", Bytes("P2 1 1 255#5\n9\n"), Grays({9})},
        {"binary, the comment's line ends the data", Bytes("P5 1 1 255#c\n"), {}},
        {"binary, the comment runs to the end", Bytes("P5 1 1 255#c"), {}},
    });
}

// --- BMP files of the variants that programs write rarely, built field by field.

struct Bmp {
    std::uint32_t infoSize = 40;
    int width = 1;
    int height = 1;  // negative: stored top-down
    int bitCount = 24;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> masks;    // in the header from 52 bytes on, else after it
    std::vector<std::uint32_t> palette;  // 0xRRGGBB
    std::uint32_t claimedColours = 0;    // the header's count of palette entries
    std::vector<std::uint8_t> pixels;    // as stored
};

void Put(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::vector<std::uint8_t> MakeBmp(const Bmp& bmp) {
    const bool core = bmp.infoSize == 12;
    const std::size_t entry = core ? 3 : 4;
    const std::size_t masksAfter = bmp.infoSize == 40 ? 4 * bmp.masks.size() : 0;
    const std::size_t offset = 14 + bmp.infoSize + masksAfter + entry * bmp.palette.size();
    std::vector<std::uint8_t> bytes(offset);
    bytes[0] = 'B';
    bytes[1] = 'M';
    Put(bytes, 2, static_cast<std::uint32_t>(offset + bmp.pixels.size()), 4);
    Put(bytes, 10, static_cast<std::uint32_t>(offset), 4);
    Put(bytes, 14, bmp.infoSize, 4);
    if (core) {
        Put(bytes, 18, bmp.width, 2);
        Put(bytes, 20, bmp.height, 2);
        Put(bytes, 22, 1, 2);
        Put(bytes, 24, bmp.bitCount, 2);
    } else {
        Put(bytes, 18, bmp.width, 4);
        Put(bytes, 22, static_cast<std::uint32_t>(bmp.height), 4);
        Put(bytes, 26, 1, 2);
        Put(bytes, 28, bmp.bitCount, 2);
        if (bmp.infoSize >= 24) {
            Put(bytes, 30, bmp.compression, 4);
            Put(bytes, 34, static_cast<std::uint32_t>(bmp.pixels.size()), 4);
        }
        if (bmp.infoSize >= 40)
            Put(bytes, 46, bmp.claimedColours, 4);
        for (std::size_t m = 0; m < bmp.masks.size(); ++m)
            Put(bytes, 54 + 4 * m, bmp.masks[m], 4);
    }
    for (std::size_t e = 0; e < bmp.palette.size(); ++e)
        Put(bytes, offset - entry * (bmp.palette.size() - e), bmp.palette[e],
            static_cast<int>(entry));
    bytes.insert(bytes.end(), bmp.pixels.begin(), bmp.pixels.end());
    return bytes;
}

std::vector<std::uint32_t> GrayPalette(int entries, std::uint32_t step) {
    std::vector<std::uint32_t> palette;
    for (int e = 0; e < entries; ++e)
        palette.push_back((e * step % 256) * 0x010101);
    return palette;
}

// A palette file of width x height whose pixel data are `pixels`.
Bmp Indexed(int bitCount, int width, int height, std::vector<std::uint8_t> pixels,
            std::uint32_t compression = 0) {
    Bmp bmp;
    bmp.width = width;
    bmp.height = height;
    bmp.bitCount = bitCount;
    bmp.compression = compression;
    bmp.palette = GrayPalette(1 << std::min(bitCount, 4), 17);  // 0, 17, 34 ...
    bmp.pixels = std::move(pixels);
    return bmp;
}

TEST(ImportBmp, ValidVariantsDecodeByTheirRulesAndDamagedRunsAreRefused) {
    Bmp twoBits = Indexed(2, 5, 1, {0x1B, 0x80, 0, 0});  // indices 0 1 2 3 2
    twoBits.palette = GrayPalette(4, 85);
    Bmp oversizePalette = Indexed(8, 3, 1, {0, 255, 7, 0});
    oversizePalette.palette = GrayPalette(300, 3);
    oversizePalette.claimedColours = 300;
    Bmp os2Short = Indexed(8, 2, 1, {1, 0, 0, 0});  // 16-byte header, palette up to the pixels
    os2Short.infoSize = 16;
    os2Short.palette = {0x0A0A0A, 0x141414};
    Bmp core = Indexed(4, 2, 1, {0x21, 0, 0, 0});
    core.infoSize = 12;
    Bmp fields565;  // 5 and 6 bits: red 3, green 50, blue 3 and white
    fields565.infoSize = 52;
    fields565.bitCount = 16;
    fields565.compression = 3;
    fields565.width = 2;
    fields565.masks = {0xF800, 0x07E0, 0x001F};
    fields565.pixels = {0x43, 0x1E, 0xFF, 0xFF};
    Bmp fields32 = fields565;  // a 56-byte header with an alpha mask, which is ignored
    fields32.infoSize = 56;
    fields32.bitCount = 32;
    fields32.width = 1;
    fields32.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    fields32.pixels = {0x33, 0x22, 0x11, 0x80};
    Bmp plain555 = fields565;
    plain555.infoSize = 40;
    plain555.compression = 0;
    plain555.masks = {};
    plain555.pixels = {0x63, 0x0C, 0, 0};  // red 3, green 3, blue 3: 25 each
    Bmp topDown = Indexed(8, 1, 2, {1, 0, 0, 0, 2, 0, 0, 0});
    topDown.height = -2;

    // RLE8, 4 x 2: a run of 4, then a jump of one pixel and a literal of three.
    const std::vector<std::uint8_t> runs = {4, 1, 0, 0, 0, 2, 1, 0, 0, 3, 2, 3, 2, 0, 0, 1};
    Bmp runsTopDown = Indexed(8, 4, 2, runs, 1);
    runsTopDown.height = -2;
    const auto rle8 = [](std::vector<std::uint8_t> data) {
        return MakeBmp(Indexed(8, 4, 2, data, 1));
    };
    const auto rle4 = [](std::vector<std::uint8_t> data) {
        return MakeBmp(Indexed(4, 3, 1, data, 2));
    };
    Bmp hugeRuns = Indexed(8, 16000, 16000, {255, 1, 0, 0}, 1);
    Bmp hugeRows = Indexed(24, 16000, 16000, {1, 2, 3});

    ExpectImports({
        {"2 bits a pixel", MakeBmp(twoBits), Grays({0, 85, 170, 255, 170})},
        {"300 palette entries", MakeBmp(oversizePalette), Grays({0, 255 * 3 % 256, 21})},
        {"OS/2 header of 16 bytes", MakeBmp(os2Short), Grays({20, 10})},
        {"OS/2 header of 12 bytes", MakeBmp(core), Grays({34, 17})},
        {"5-6-5 bit fields round", MakeBmp(fields565), {0x19CA19, 0xFFFFFF}},
        {"56-byte header, alpha mask", MakeBmp(fields32), {0x112233}},
        {"5-5-5 rounds", MakeBmp(plain555), {0x191919, 0}},
        {"top-down rows", MakeBmp(topDown), Grays({17, 34})},
        {"RLE8 with a jump", rle8(runs), Grays({0, 34, 51, 34, 17, 17, 17, 17})},
        {"RLE4 literal", rle4({0, 3, 0x12, 0x30, 0, 1}), Grays({17, 34, 51})},
        {"RLE4 run of two nibbles", rle4({3, 0x12, 0, 1}), Grays({17, 34, 17})},
        {"RLE8 run past the row", rle8({5, 1, 0, 1}), {}},
        {"RLE8 literal past the row", rle8({0, 5, 1, 1, 1, 1, 1, 0, 0, 1}), {}},
        {"RLE8 jump past the row", rle8({0, 2, 5, 0, 0, 1}), {}},
        {"RLE8 jump past the picture", rle8({0, 2, 0, 2, 0, 1}), {}},
        {"RLE8 rows past the picture", rle8({0, 0, 0, 0, 0, 0, 0, 1}), {}},
        {"RLE8 without its end", rle8({4, 1, 0, 0}), {}},
        {"RLE4 run past the row", rle4({4, 0x12, 0, 1}), {}},
        {"RLE stored top-down", MakeBmp(runsTopDown), {}},
        {"runs claiming a huge picture", MakeBmp(hugeRuns), {}},
        {"rows claiming a huge picture", MakeBmp(hugeRows), {}},
    });
}

TEST(ImportBmp, UnusualVariantsAreRefusedAsUnsupportedByName) {
    Bmp sixtyFour;
    sixtyFour.bitCount = 64;
    sixtyFour.pixels.assign(8, 0);
    Bmp rle24;  // the second OS/2 header's compression 4
    rle24.infoSize = 64;
    rle24.compression = 4;
    rle24.pixels = {0, 1};
    Bmp huffman = Indexed(1, 8, 1, {0, 1}, 3);
    huffman.infoSize = 64;
    Bmp alphaFields;
    alphaFields.bitCount = 32;
    alphaFields.compression = 6;
    alphaFields.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    alphaFields.pixels.assign(4, 0);
    const struct {
        Bmp bmp;
        std::string message;
    } cases[] = {
        {sixtyFour, "无法读取 a.bmp：不支持这种 BMP 变体（每像素 64 位）。"},
        {rle24, "无法读取 a.bmp：不支持这种 BMP 变体（24 位游程编码（RLE24））。"},
        {huffman, "无法读取 a.bmp：不支持这种 BMP 变体（Huffman 1D 编码）。"},
        {alphaFields, "无法读取 a.bmp：不支持这种 BMP 变体（带 alpha 的位域）。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const ImportResult result = ReadPictureBytes(MakeBmp(c.bmp), 0);
        ASSERT_FALSE(result);
        EXPECT_EQ(ImportRefusalMessage(result.Error(), "/x/a.bmp"), c.message);
    }
}

// Pictures encoded by the toolkit, for the formats stored inside other files.
std::vector<std::uint8_t> Encoded(const QImage& image, const char* format) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return {data.begin(), data.end()};
}

TEST(ImportBmp, AJpegOrPngInsideDecodesAsTheFileItself) {
    QImage image(9, 7, QImage::Format_RGB32);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 9; ++x)
            image.setPixel(x, y, qRgb(x * 28, y * 36, (x * y * 5) % 256));
    }
    for (const auto& [format, compression] : {std::pair{"JPEG", 4u}, std::pair{"PNG", 5u}}) {
        SCOPED_TRACE(format);
        Bmp bmp;
        bmp.width = 9;
        bmp.height = 7;
        bmp.bitCount = 0;
        bmp.compression = compression;
        bmp.pixels = Encoded(image, format);
        const ImportResult inside = ReadPictureBytes(MakeBmp(bmp), 0);
        const ImportResult alone = ReadPictureBytes(bmp.pixels, 0);
        ASSERT_TRUE(alone);
        ASSERT_TRUE(inside);
        EXPECT_TRUE(*inside == *alone);
        bmp.height = 8;  // a header that contradicts the picture inside
        const ImportResult contradicted = ReadPictureBytes(MakeBmp(bmp), 0);
        ASSERT_FALSE(contradicted);
        EXPECT_EQ(contradicted.Error().refusal, ImportRefusal::Damaged);
    }
}

// --- PNG

std::uint32_t Crc(const std::uint8_t* bytes, std::size_t size) {
    std::uint32_t crc = ~0u;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int k = 0; k < 8; ++k)
            crc = crc >> 1 ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

// `png` with a chunk inserted after its header chunk.
std::vector<std::uint8_t> WithChunk(std::vector<std::uint8_t> png, const char* type,
                                    const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> chunk(4);
    Put(chunk, 0, 0, 4);
    for (int k = 0; k < 4; ++k)
        chunk[k] = static_cast<std::uint8_t>(data.size() >> (24 - 8 * k));
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    const std::uint32_t crc = Crc(chunk.data() + 4, chunk.size() - 4);
    for (int k = 0; k < 4; ++k)
        chunk.push_back(static_cast<std::uint8_t>(crc >> (24 - 8 * k)));
    png.insert(png.begin() + 8 + 25, chunk.begin(), chunk.end());  // the signature and IHDR
    return png;
}

TEST(ImportPng, AGrayPictureNamingATransparentValueKeepsThatValue) {
    const GrayPicture gray = RandomGray(16, 16, 5);
    const std::uint8_t marked = gray.At(3, 4);
    const ImportResult result =
        ReadPictureBytes(WithChunk(EncodeGrayPng(gray), "tRNS", {0, marked}), 0);
    ASSERT_TRUE(result);
    int markedPixels = 0;
    for (int r = 0; r < 16; ++r) {
        for (int c = 0; c < 16; ++c) {
            const std::uint8_t* pixel = result->Pixel(r, c);
            ASSERT_EQ(std::vector<int>({pixel[0], pixel[1], pixel[2]}),
                      std::vector<int>(3, gray.At(r, c)))
                << "row " << r << " column " << c;
            markedPixels += gray.At(r, c) == marked;
        }
    }
    EXPECT_GT(markedPixels, 0);
}

TEST(ImportPng, ASixteenBitColourPictureNamingATransparentColourKeepsThatColour) {
    QImage image(5, 3, QImage::Format_RGBX64);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x)
            image.setPixelColor(x, y, QColor::fromRgba64(x * 9000 + 7, y * 20000 + 99, 40000));
    }
    const std::vector<std::uint8_t> png = Encoded(image, "PNG");
    ASSERT_GT(png.size(), 26u);
    ASSERT_EQ(png[24], 16);  // bits a sample
    ASSERT_EQ(png[25], 2);   // colour without alpha
    const QRgba64 marked = image.pixelColor(2, 1).rgba64();
    const std::vector<std::uint8_t> transparent = {
        static_cast<std::uint8_t>(marked.red() >> 8),   static_cast<std::uint8_t>(marked.red()),
        static_cast<std::uint8_t>(marked.green() >> 8), static_cast<std::uint8_t>(marked.green()),
        static_cast<std::uint8_t>(marked.blue() >> 8),  static_cast<std::uint8_t>(marked.blue())};
    const ImportResult result = ReadPictureBytes(WithChunk(png, "tRNS", transparent), 0);
    ASSERT_TRUE(result);
    const auto to8 = [](int v) { return static_cast<int>(std::lround(v * 255.0 / 65535.0)); };
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            const QRgba64 stored = image.pixelColor(x, y).rgba64();
            const std::uint8_t* pixel = result->Pixel(2 - y, x);
            EXPECT_EQ(
                std::vector<int>({pixel[2], pixel[1], pixel[0]}),
                std::vector<int>({to8(stored.red()), to8(stored.green()), to8(stored.blue())}))
                << "x " << x << " y " << y;
        }
    }
}

// --- The readers' own warnings

// What `run` writes to stderr.
std::string StderrOf(const std::function<void()>& run) {
    std::fflush(stderr);
    FILE* capture = std::tmpfile();
    const int saved = ::dup(2);
    ::dup2(::fileno(capture), 2);
    run();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    std::string text;
    std::rewind(capture);
    for (int c; (c = std::fgetc(capture)) != EOF;)
        text.push_back(static_cast<char>(c));
    std::fclose(capture);
    return text;
}

TEST(ImportWarnings, AReadersWarningsAreHeldOffStderrAndGivenOnceWithTheFileName) {
    // A gamma chunk of the wrong length: the PNG library warns twice and reads on.
    std::vector<std::uint8_t> png = EncodeGrayPng(RandomGray(3, 2, 4));
    png = WithChunk(WithChunk(png, "gAMA", {1, 2, 3}), "gAMA", {1, 2, 3});
    std::optional<ImportResult> result;
    EXPECT_EQ(StderrOf([&] { result = ReadPictureBytes(png, 0); }), "");
    ASSERT_TRUE(*result);
    ASSERT_EQ(ReaderWarnings().size(), 1u);
    const std::string lines = ReaderWarningLines("/some/folder/gamma.png");
    EXPECT_EQ(lines, "gamma.png: " + ReaderWarnings()[0] + "\n");
    EXPECT_NE(lines.find("gAMA"), std::string::npos) << lines;

    // Outside a read, messages go where they went before; the next read starts afresh.
    EXPECT_NE(StderrOf([] { qWarning("after the read"); }).find("after the read"),
              std::string::npos);
    EXPECT_TRUE(ReadPictureBytes(EncodeGrayPng(RandomGray(3, 2, 4)), 0));
    EXPECT_TRUE(ReaderWarnings().empty());
}

TEST(ImportWarnings, AChunkFailingItsCrcIsDamageFoundBeforeThePngLibraryPrintsIt) {
    std::vector<std::uint8_t> png = EncodeGrayPng(RandomGray(4, 4, 1));
    png[png.size() - 20] ^= 0x40;  // inside the image data
    std::optional<ImportResult> result;
    EXPECT_EQ(StderrOf([&] { result = ReadPictureBytes(png, 0); }), "");
    ASSERT_FALSE(*result);
    EXPECT_EQ(result->Error().refusal, ImportRefusal::Damaged);
}

}  // namespace

}  // namespace zantrel
