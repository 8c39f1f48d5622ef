#include "fuzz/LoadCheck.h"

#include <algorithm>

#include "codec/CutLineCode.h"
#include "codec/ZtlFile.h"
#include "import/BmpFormat.h"
#include "import/BmpReader.h"
#include "import/ImageImport.h"

namespace zantrel {

namespace {

// The verdict a user should get, worked out from the file's bytes in the order the
// messages are promised, without the reader's code.
BmpVerdict ExpectedVerdict(std::span<const std::uint8_t> bytes) {
    if (bytes.size() <= bmp::kBitCount)
        return BmpVerdict::WrongDepth;
    // A file that ends inside the bit count is judged on its low byte.
    const unsigned high = bytes.size() > bmp::kBitCount + 1 ? bytes[bmp::kBitCount + 1] : 0;
    const unsigned bitCount = bytes[bmp::kBitCount] | high << 8;
    if (bitCount != 24)
        return BmpVerdict::WrongDepth;
    if (bmp::ReadI32(bytes, bmp::kWidth) != kClassicSide ||
        bmp::ReadI32(bytes, bmp::kHeight) != kClassicSide)
        return BmpVerdict::WrongSize;
    if (bytes.size() < bmp::kHeadersBytes)
        return BmpVerdict::Damaged;
    if (bytes[0] != 'B' || bytes[1] != 'M' || bmp::ReadU32(bytes, bmp::kInfoSize) < 40 ||
        bmp::ReadU16(bytes, bmp::kPlanes) != 1)
        return BmpVerdict::Damaged;
    const std::uint64_t pixelOffset = bmp::ReadU32(bytes, bmp::kPixelOffset);
    if (pixelOffset < bmp::kHeadersBytes || bytes.size() < pixelOffset + bmp::kClassicPixelBytes ||
        bmp::ReadU32(bytes, bmp::kCompression) != 0)
        return BmpVerdict::Damaged;
    return BmpVerdict::Accepted;
}

std::string CheckLoaded(std::span<const std::uint8_t> bytes, const LoadedBmp& loaded) {
    const std::size_t pixelOffset = bmp::ReadU32(bytes, bmp::kPixelOffset);
    if (!std::equal(loaded.headers.begin(), loaded.headers.end(), bytes.begin()))
        return "loaded, but the kept headers differ from the file's";
    const auto pixels = bytes.subspan(pixelOffset, bmp::kClassicPixelBytes);
    if (loaded.picture.width != kClassicSide || loaded.picture.height != kClassicSide ||
        !std::equal(pixels.begin(), pixels.end(), loaded.picture.bgr.begin(),
                    loaded.picture.bgr.end()))
        return "loaded, but the pixels differ from the file's pixel array";
    return {};
}

// Fuzz inputs run under a memory limit of their own: pictures are measured against this
// much memory instead of the machine's.
constexpr std::uint64_t kImportMemoryBytes = 256ull << 20;

}  // namespace

std::string CheckLoadBytes(std::span<const std::uint8_t> bytes) {
    const BmpVerdict expected = ExpectedVerdict(bytes);
    const BmpReadResult result = ReadBmpBytes(bytes);
    if (!result && result.Error().readError != 0)
        return "bytes in memory gave a read error";
    if ((result ? BmpVerdict::Accepted : result.Error().verdict) != expected)
        return "the verdict is not the one the file's bytes call for";
    if (result)
        return CheckLoaded(bytes, *result);
    if (BmpRefusalMessage(result.Error().verdict).empty())
        return "a refusal has no message";
    return {};
}

std::string CheckImportBytes(std::span<const std::uint8_t> bytes) {
    const ImportResult result = ReadPictureBytes(bytes, kImportMemoryBytes);
    if (result) {
        if (!IsValidPictureSize(result->width, result->height) ||
            result->bgr.size() != result->PixelCount() * 3)
            return "a loaded picture has a size the engine does not take";
        return {};
    }
    if (result.Error().readError != 0)
        return "bytes in memory gave a read error";
    if (ImportRefusalMessage(result.Error(), "input").empty())
        return "a refusal has no message";
    return {};
}

std::string CheckZtlBytes(std::span<const std::uint8_t> bytes) {
    ZtlSettings settings;
    if (ReadZtlHeader(bytes, settings) == ZtlError::None &&
        static_cast<long long>(settings.width) * settings.height > kFuzzPixels)
        return {};
    ZtlPicture picture;
    picture.tree.width = -7;  // a sentinel a refusal must leave alone
    if (DecodeZtl(bytes, picture) != ZtlError::None)
        return picture.tree.width == -7 ? "" : "a refused file changed the picture";

    const ZtlSettings s = SettingsOf(picture.tree);
    if (picture.result.width != s.width || picture.result.height != s.height ||
        picture.result.samples.size() != picture.result.PixelCount() ||
        picture.grid.width != s.width || picture.grid.height != s.height)
        return "the decoded pictures do not have the header's size";
    std::vector<bool> covered(picture.result.PixelCount());
    for (const QuadBlock& block : picture.tree.leaves) {
        if (block.row < 0 || block.col < 0 || block.row + block.size > s.height ||
            block.col + block.size > s.width)
            return "a leaf lies outside the picture";
        for (int r = block.row; r < block.row + block.size; ++r) {
            for (int c = block.col; c < block.col + block.size; ++c) {
                if (covered[picture.result.Index(r, c)])
                    return "two leaves overlap";
                covered[picture.result.Index(r, c)] = true;
            }
        }
    }
    if (std::find(covered.begin(), covered.end(), false) != covered.end())
        return "the leaves leave a pixel uncovered";
    for (const QuadBlock& block : picture.tree.leaves) {
        if (block.Line() && !EncodeCutLine(block.size, *block.Line()))
            return "a cut leaf's line is not one the search can produce";
    }

    ZtlPicture again;
    if (DecodeZtl(EncodeZtl(picture.tree), again) != ZtlError::None ||
        !(again.result == picture.result) || !(again.grid == picture.grid))
        return "re-encoding the decoded picture does not give it back";
    return {};
}

}  // namespace zantrel
