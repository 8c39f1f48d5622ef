// The import's readers on files made byte by byte: the forms and damages of PNM, BMP and PNG
// that no installed program writes. Expected pixels follow the formats' rules, worked out by
// hand (v8 = round(v * 255 / maximum)).

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "import/ImageImport.h"

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

// The gray samples of an imported picture, top row first (the file's order); every pixel of
// a gray file has blue = green = red.
std::vector<int> TopRowFirst(const ColorPicture& picture) {
    std::vector<int> samples;
    for (int r = picture.height - 1; r >= 0; --r) {
        for (int c = 0; c < picture.width; ++c) {
            const std::uint8_t* pixel = picture.Pixel(r, c);
            samples.push_back(pixel[0] == pixel[1] && pixel[1] == pixel[2] ? pixel[0] : -1);
        }
    }
    return samples;
}

struct ByteCase {
    std::string name;
    std::vector<std::uint8_t> bytes;
    std::vector<int> gray;  // top row first; empty: refused as damaged
};

void ExpectImports(const std::vector<ByteCase>& cases) {
    for (const ByteCase& c : cases) {
        SCOPED_TRACE(c.name);
        g_largestAllocation = 0;
        const ImportResult result = ReadPictureBytes(c.bytes, 0);
        if (c.gray.empty()) {
            ASSERT_FALSE(result);
            EXPECT_EQ(result.Error().refusal, ImportRefusal::Damaged);
            EXPECT_LT(g_largestAllocation, std::size_t{1} << 20) << "allocated before checking";
        } else {
            ASSERT_TRUE(result) << static_cast<int>(result.Error().refusal);
            EXPECT_EQ(TopRowFirst(*result), c.gray);
        }
    }
}

TEST(ImportPnm, EveryMaximumRoundsAndASampleAboveItOrMissingDataIsDamage) {
    std::vector<std::uint8_t> sixteenBit = Bytes("P5\n2 1\n1000\n");
    sixteenBit.insert(sixteenBit.end(), {0x01, 0xF4, 0x03, 0xE8});  // 500, 1000
    ExpectImports({
        {"text, maximum 100", Bytes("P2\n5 1\n100\n0 50 1 99 100\n"), {0, 128, 3, 252, 255}},
        {"binary, maximum 7", Bytes("P5 3 1 7\n\x03\x04\x07"), {109, 146, 255}},
        {"binary, maximum 255", Bytes("P5 2 1 255\n\x00\xFF"sv), {0, 255}},
        {"16-bit, maximum 1000", sixteenBit, {128, 255}},
        {"text bitmap without spaces", Bytes("P1\n3 2\n010\n1 1 0"), {255, 0, 255, 0, 0, 255}},
        {"binary bitmap", Bytes("P4 3 1\n\x40"), {255, 0, 255}},
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

}  // namespace

}  // namespace zantrel
