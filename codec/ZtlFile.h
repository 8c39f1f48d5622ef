#pragma once
// The Zantrel picture file (.ztl): a small header, then one arithmetic-coded payload holding
// the quadtree, each leaf's model, each cut line and the gray values, enough to rebuild the
// approximation pixel for pixel. docs/file-format.md describes it for writers of decoders.

#include <cstdint>
#include <span>
#include <vector>

#include "linesearch/LineSearch.h"
#include "picture/Picture.h"

namespace zantrel {

// What the header holds. The penalty is informational: decoding does not need it.
struct ZtlSettings {
    int width = 0;
    int height = 0;
    double penalty = 0.0;
    std::int32_t minBlockSize = 0;
};

inline constexpr std::size_t kZtlHeaderBytes = 18;
inline constexpr std::uint8_t kZtlVersion = 1;

// The file of `decomposition`, the search's result on a picture of the settings' size under
// the settings' penalty and minimum block size.
std::vector<std::uint8_t> EncodeZtl(const Decomposition& decomposition,
                                    const ZtlSettings& settings);

// The bits per pixel of a file of `bytes` bytes, every byte counted.
inline double ZtlFileBitRate(std::size_t bytes, int width, int height) {
    return 8.0 * static_cast<double>(bytes) / (static_cast<double>(width) * height);
}

enum class ZtlError {
    None,
    NotZtl,          // the file does not start with the magic bytes
    UnknownVersion,  // a version this program does not read
    BadHeader,       // sizes, minimum block size or penalty out of their ranges
    Corrupt,         // the payload is truncated or does not decode to a valid picture
    TrailingData,    // bytes after the payload's end
};

// Reads and checks the header only, so that the size can be judged before decoding.
ZtlError ReadZtlHeader(std::span<const std::uint8_t> file, ZtlSettings& settings);

// A decoded file: the leaves in file order (cut leaves with modelKind 1 and their cutIndex;
// their mean is not in the file and is 0), the cut models, the approximation and the grid.
struct ZtlPicture {
    ZtlSettings settings;
    std::vector<QuadBlock> blocks;
    std::vector<CutModel> cutModels;
    GrayPicture result;
    GrayPicture grid;
};

// Decodes a whole file; `picture` is filled only when the result is ZtlError::None.
ZtlError DecodeZtl(std::span<const std::uint8_t> file, ZtlPicture& picture);

}  // namespace zantrel
