#pragma once
// The Zantrel picture file (.ztl): a small header, then one arithmetic-coded payload holding
// the quadtree, each leaf's model, each cut line and the gray values, enough to rebuild the
// approximation pixel for pixel. docs/file-format.md describes it for writers of decoders.

#include <cstdint>
#include <span>
#include <vector>

#include "codec/ZtlSettings.h"
#include "picture/Picture.h"
#include "quadtree/Quadtree.h"

namespace zantrel {

// The longest header, version 1's; version 2's is shorter.
inline constexpr std::size_t kZtlHeaderBytes = 18;
inline constexpr std::size_t kZtlOptimisedHeaderBytes = 14;
// The newest version this program reads and writes.
inline constexpr std::uint8_t kZtlVersion = kZtlOptimisedVersion;

// The file of `tree`, whose leaves hold the models to be drawn; its settings go into the
// header. A tree with a quantiser, whose values are all on its steps, takes version 2.
std::vector<std::uint8_t> EncodeZtl(const Quadtree& tree);

// What one encoding spent in each adaptive context of the payload (codec/ZtlWalk.h's
// ZtlContexts, numbered by ZtlContextIndex): how often each bit value was coded there and the
// bits it cost as the coder's probabilities then stood.
struct ZtlContextUse {
    double count[2] = {0, 0};
    double bits[2] = {0, 0};
};
using ZtlStatistics = std::vector<ZtlContextUse>;
std::vector<std::uint8_t> EncodeZtl(const Quadtree& tree, ZtlStatistics& statistics);

// The bits per pixel of a file of `bytes` bytes, every byte counted.
inline double ZtlFileBitRate(std::size_t bytes, int width, int height) {
    return 8.0 * static_cast<double>(bytes) / (static_cast<double>(width) * height);
}

enum class ZtlError {
    None,
    NotZtl,          // the file does not start with the magic bytes
    UnknownVersion,  // a version this program does not read
    BadHeader,       // sizes, minimum block size, penalty, planes or quantiser out of range
    Corrupt,         // the payload is truncated or does not decode to a valid picture
    TrailingData,    // bytes after the payload's end
};

// The header's field that a BadHeader refusal names, with its value as read.
enum class ZtlHeaderField {
    None,
    Width,
    Height,
    MinBlockSize,
    Penalty,            // version 1 only
    Planes,             // version 2 only
    ValueQuantiser,     // version 2's Q
    GradientQuantiser,  // version 2's G
};
struct ZtlBadField {
    ZtlHeaderField field = ZtlHeaderField::None;
    double value = 0.0;
};

// Reads and checks the header only, so that the size can be judged before decoding. On
// BadHeader, `badField` (where given) names the first field out of range.
ZtlError ReadZtlHeader(std::span<const std::uint8_t> file, ZtlSettings& settings,
                       ZtlBadField* badField = nullptr);

// A decoded file: the quadtree with the header's settings and the leaves' models (a cut
// leaf's one-value fit is not in the file and is 0), the approximation and the grid.
struct ZtlPicture {
    Quadtree tree;
    GrayPicture result;
    GrayPicture grid;
};

// Decodes a whole file; `picture` is filled only when the result is ZtlError::None.
ZtlError DecodeZtl(std::span<const std::uint8_t> file, ZtlPicture& picture);

}  // namespace zantrel
