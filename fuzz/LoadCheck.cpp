#include "fuzz/LoadCheck.h"

#include <algorithm>

#include <cstring>

#include "picture/BmpFormat.h"
#include "picture/BmpReader.h"
#include "support/RecordingShell.h"

namespace {

// The verdict a user should get, worked out from the file's bytes in the order the
// messages are promised, without the reader's code.
BmpVerdict ExpectedVerdict(std::span<const std::uint8_t> bytes) {
    if (bytes.size() <= bmp::kBitCount || bytes[bmp::kBitCount] != 24)
        return BmpVerdict::WrongDepth;
    if (bmp::ReadI32(bytes, bmp::kWidth) != kPictureSide ||
        bmp::ReadI32(bytes, bmp::kHeight) != kPictureSide)
        return BmpVerdict::WrongSize;
    if (bytes.size() < bmp::kHeadersBytes)
        return BmpVerdict::Damaged;
    const std::uint64_t pixelOffset = bmp::ReadU32(bytes, bmp::kPixelOffset);
    if (pixelOffset < bmp::kHeadersBytes || bytes.size() < pixelOffset + kColorBytes ||
        bmp::ReadU32(bytes, bmp::kCompression) != 0)
        return BmpVerdict::Damaged;
    return BmpVerdict::Accepted;
}

// Everything a load may change, copied into fixed buffers: the check runs for every fuzz
// input, and a fresh 768 KB copy each time would slow the fuzzer down many times over.
struct StoreCopy {
    std::uint8_t color[kColorBytes];
    std::uint8_t fileHeader[kFileHeaderBytes];
    std::uint8_t infoHeader[kInfoHeaderBytes];
    std::int32_t loaded;
    std::int32_t mode;

    void Take() {
        std::memcpy(color, g_colorPixels, kColorBytes);
        std::memcpy(fileHeader, g_fileHeader, kFileHeaderBytes);
        std::memcpy(infoHeader, g_infoHeader, kInfoHeaderBytes);
        loaded = g_pictureLoaded;
        mode = g_displayMode;
    }
    bool MatchesStore() const {
        return std::memcmp(color, g_colorPixels, kColorBytes) == 0 &&
               std::memcmp(fileHeader, g_fileHeader, kFileHeaderBytes) == 0 &&
               std::memcmp(infoHeader, g_infoHeader, kInfoHeaderBytes) == 0 &&
               loaded == g_pictureLoaded && mode == g_displayMode;
    }
};

StoreCopy storeBefore;

bool SameBytes(const std::uint8_t* stored, std::span<const std::uint8_t> expected) {
    return std::equal(expected.begin(), expected.end(), stored);
}

std::string CheckLoaded(std::span<const std::uint8_t> bytes) {
    const std::size_t pixelOffset = bmp::ReadU32(bytes, bmp::kPixelOffset);
    if (!SameBytes(g_fileHeader, bytes.first(kFileHeaderBytes)) ||
        !SameBytes(g_infoHeader, bytes.subspan(kFileHeaderBytes, kInfoHeaderBytes)))
        return "loaded, but the kept headers differ from the file's";
    if (!SameBytes(g_colorPixels, bytes.subspan(pixelOffset, kColorBytes)))
        return "loaded, but the pixels differ from the file's pixel array";
    if (g_pictureLoaded != 1 || g_displayMode != DISPLAY_COLOR)
        return "loaded, but the flags do not show the colour picture";
    return {};
}

}  // namespace

std::string CheckLoadBytes(std::span<const std::uint8_t> bytes) {
    const BmpVerdict expected = ExpectedVerdict(bytes);
    storeBefore.Take();
    CRecordingShell shell;
    const LoadResult result = LoadPictureBytes(bytes);

    if (!shell.fileErrors.empty())
        return "bytes in memory reported a file error";
    if (expected == BmpVerdict::Accepted) {
        if (result != LoadResult::Loaded)
            return "a valid file was not loaded";
        if (!shell.messages.empty())
            return "a loaded file showed a message";
        return CheckLoaded(bytes);
    }
    if (result != LoadResult::Refused)
        return "a file that must be refused was not";
    if (shell.messages.size() != 1 || shell.messages[0].text != BmpRefusalMessage(expected) ||
        shell.messages[0].caption != kAppName)
        return "a refusal did not show exactly its one message";
    if (!storeBefore.MatchesStore())
        return "a refused file changed the store";
    return {};
}
