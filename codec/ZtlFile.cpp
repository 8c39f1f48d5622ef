#include "codec/ZtlFile.h"

#include <cmath>
#include <cstring>

#include "codec/ZtlWalk.h"
#include "quadtree/DecompositionParameters.h"

namespace zantrel {

namespace {

constexpr std::uint8_t kMagic[4] = {'Z', 'T', 'L', 0x1A};

void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint64_t GetLittleEndian(const std::uint8_t* in, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | in[i];
    return value;
}

class EncodingCoder {
  public:
    bool Bit(bool bit, BitContext& context) {
        m_encoder.Encode(bit, context);
        return bit;
    }
    std::uint32_t Bits(std::uint32_t value, int count) {
        m_encoder.EncodeBits(value, count);
        return value;
    }
    bool Failed() const { return false; }
    std::vector<std::uint8_t> Finish() { return m_encoder.Finish(); }

  private:
    BinaryEncoder m_encoder;
};

class DecodingCoder {
  public:
    explicit DecodingCoder(std::span<const std::uint8_t> stream) : m_decoder(stream) {}
    bool Bit(bool, BitContext& context) { return m_decoder.Decode(context); }
    std::uint32_t Bits(std::uint32_t, int count) { return m_decoder.DecodeBits(count); }
    // A valid stream never makes the decoder read past its end, even on the way.
    bool Failed() const { return m_decoder.Exhausted(); }
    std::size_t Consumed() const { return m_decoder.Consumed(); }

  private:
    BinaryDecoder m_decoder;
};

// The encoder's truth: the tree's leaves, met in the walk's order, which is the tree's.
class TreeSource {
  public:
    explicit TreeSource(const Quadtree& tree) : m_leaves(tree.leaves) {}

    bool IsSplit(int row, int col, int size) const {
        if (m_next >= m_leaves.size())
            return false;
        const QuadBlock& leaf = m_leaves[m_next];
        return leaf.row != row || leaf.col != col || leaf.size != size;
    }

    LeafModel Leaf(int, int, int) {
        return m_next < m_leaves.size() ? m_leaves[m_next++].model : LeafModel{};
    }

  private:
    const std::vector<QuadBlock>& m_leaves;
    std::size_t m_next = 0;
};

// The decoder asks for nothing: every answer comes from the stream.
struct NoSource {
    bool IsSplit(int, int, int) const { return false; }
    LeafModel Leaf(int, int, int) const { return {}; }
};

}  // namespace

std::vector<std::uint8_t> EncodeZtl(const Quadtree& tree) {
    const ZtlSettings settings = SettingsOf(tree);
    std::vector<std::uint8_t> file(std::begin(kMagic), std::end(kMagic));
    file.push_back(kZtlVersion);
    file.push_back(static_cast<std::uint8_t>(settings.minBlockSize));
    PutLittleEndian(file, static_cast<std::uint64_t>(settings.width), 2);
    PutLittleEndian(file, static_cast<std::uint64_t>(settings.height), 2);
    std::uint64_t penaltyBits;
    std::memcpy(&penaltyBits, &settings.penalty, sizeof penaltyBits);
    PutLittleEndian(file, penaltyBits, 8);

    EncodingCoder coder;
    TreeSource source(tree);
    ZtlWalk walk(settings, coder, source);
    walk.Run();
    const std::vector<std::uint8_t> payload = coder.Finish();
    file.insert(file.end(), payload.begin(), payload.end());
    return file;
}

ZtlError ReadZtlHeader(std::span<const std::uint8_t> file, ZtlSettings& settings) {
    if (file.size() < sizeof kMagic || std::memcmp(file.data(), kMagic, sizeof kMagic) != 0)
        return ZtlError::NotZtl;
    if (file.size() < kZtlHeaderBytes)
        return ZtlError::Corrupt;
    if (file[4] != kZtlVersion)
        return ZtlError::UnknownVersion;
    ZtlSettings read;
    read.minBlockSize = file[5];
    read.width = static_cast<int>(GetLittleEndian(&file[6], 2));
    read.height = static_cast<int>(GetLittleEndian(&file[8], 2));
    const std::uint64_t penaltyBits = GetLittleEndian(&file[10], 8);
    std::memcpy(&read.penalty, &penaltyBits, sizeof read.penalty);
    if (!IsValidPictureSize(read.width, read.height) || read.minBlockSize < kMinBlockSizeLow ||
        read.minBlockSize > kMinBlockSizeHigh || !(read.penalty >= kPenaltyLow) ||
        !(read.penalty <= kPenaltyHigh))
        return ZtlError::BadHeader;
    settings = read;
    return ZtlError::None;
}

ZtlError DecodeZtl(std::span<const std::uint8_t> file, ZtlPicture& picture) {
    ZtlSettings settings;
    if (const ZtlError error = ReadZtlHeader(file, settings); error != ZtlError::None)
        return error;
    DecodingCoder coder(file.subspan(kZtlHeaderBytes));
    NoSource source;
    ZtlWalk walk(settings, coder, source);
    if (!walk.Run())
        return ZtlError::Corrupt;
    if (coder.Consumed() != file.size() - kZtlHeaderBytes)
        return ZtlError::TrailingData;
    picture.tree = {settings.width, settings.height, settings.penalty, settings.minBlockSize,
                    std::move(walk.Leaves())};
    picture.result = std::move(walk.Result());
    picture.grid = DrawGrid(picture.tree);
    return ZtlError::None;
}

}  // namespace zantrel
