#include "codec/ZtlFile.h"

#include <cmath>
#include <cstring>

#include "codec/ZtlWalk.h"
#include "quadtree/DecompositionParameters.h"

namespace zantrel {

namespace {

constexpr std::uint8_t kMagic[4] = {'Z', 'T', 'L', 0x1A};
// Version 2's planes: one gray plane (room for colour, whose planes will share the tree).
constexpr std::uint8_t kZtlPlanes = 1;

std::size_t HeaderBytes(std::uint8_t version) {
    return version == kZtlExactVersion ? kZtlHeaderBytes : kZtlOptimisedHeaderBytes;
}

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
    // Keeps what each context spends in `statistics`, numbered within `contexts`.
    void Measure(const ZtlContexts& contexts, ZtlStatistics& statistics) {
        m_contexts = &contexts;
        m_statistics = &statistics;
        statistics.assign(kZtlContextCount, {});
    }
    bool Bit(bool bit, BitContext& context) {
        if (m_statistics) {
            const double p0 = context.Probability0() / 65536.0;
            ZtlContextUse& use = (*m_statistics)[ZtlContextIndex(*m_contexts, context)];
            use.count[bit] += 1;
            use.bits[bit] -= std::log2(bit ? 1.0 - p0 : p0);
        }
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
    const ZtlContexts* m_contexts = nullptr;
    ZtlStatistics* m_statistics = nullptr;
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

std::vector<std::uint8_t> Encode(const Quadtree& tree, ZtlStatistics* statistics);

}  // namespace

std::vector<std::uint8_t> EncodeZtl(const Quadtree& tree) {
    return Encode(tree, nullptr);
}

std::vector<std::uint8_t> EncodeZtl(const Quadtree& tree, ZtlStatistics& statistics) {
    return Encode(tree, &statistics);
}

namespace {

std::vector<std::uint8_t> Encode(const Quadtree& tree, ZtlStatistics* statistics) {
    const ZtlSettings settings = SettingsOf(tree);
    std::vector<std::uint8_t> file(std::begin(kMagic), std::end(kMagic));
    file.push_back(settings.version);
    if (settings.version == kZtlExactVersion) {
        file.push_back(static_cast<std::uint8_t>(settings.minBlockSize));
        PutLittleEndian(file, static_cast<std::uint64_t>(settings.width), 2);
        PutLittleEndian(file, static_cast<std::uint64_t>(settings.height), 2);
        std::uint64_t penaltyBits;
        std::memcpy(&penaltyBits, &settings.penalty, sizeof penaltyBits);
        PutLittleEndian(file, penaltyBits, 8);
    } else {
        file.push_back(kZtlPlanes);
        file.push_back(static_cast<std::uint8_t>(settings.minBlockSize));
        PutLittleEndian(file, static_cast<std::uint64_t>(settings.width), 2);
        PutLittleEndian(file, static_cast<std::uint64_t>(settings.height), 2);
        PutLittleEndian(file, settings.quantiser.value, 2);
        file.push_back(settings.quantiser.gradient);
    }

    EncodingCoder coder;
    TreeSource source(tree);
    ZtlWalk walk(settings, coder, source);
    if (statistics)
        coder.Measure(walk.Contexts(), *statistics);
    walk.Run();
    const std::vector<std::uint8_t> payload = coder.Finish();
    file.insert(file.end(), payload.begin(), payload.end());
    return file;
}

}  // namespace

ZtlError ReadZtlHeader(std::span<const std::uint8_t> file, ZtlSettings& settings,
                       ZtlBadField* badField) {
    if (file.size() < sizeof kMagic || std::memcmp(file.data(), kMagic, sizeof kMagic) != 0)
        return ZtlError::NotZtl;
    if (file.size() <= 4)
        return ZtlError::Corrupt;
    ZtlSettings read;
    read.version = file[4];
    if (read.version != kZtlExactVersion && read.version != kZtlOptimisedVersion)
        return ZtlError::UnknownVersion;
    if (file.size() < HeaderBytes(read.version))
        return ZtlError::Corrupt;
    int planes = kZtlPlanes;
    if (read.version == kZtlExactVersion) {
        read.minBlockSize = file[5];
        read.width = static_cast<int>(GetLittleEndian(&file[6], 2));
        read.height = static_cast<int>(GetLittleEndian(&file[8], 2));
        const std::uint64_t penaltyBits = GetLittleEndian(&file[10], 8);
        std::memcpy(&read.penalty, &penaltyBits, sizeof read.penalty);
    } else {
        planes = file[5];
        read.minBlockSize = file[6];
        read.width = static_cast<int>(GetLittleEndian(&file[7], 2));
        read.height = static_cast<int>(GetLittleEndian(&file[9], 2));
        read.quantiser.value = static_cast<std::uint16_t>(GetLittleEndian(&file[11], 2));
        read.quantiser.gradient = file[13];
    }
    // The fields in the header's order, each with its value and whether it is in range.
    const bool optimised = read.version == kZtlOptimisedVersion;
    const struct {
        ZtlHeaderField field;
        double value;
        bool valid;
    } fields[] = {
        {ZtlHeaderField::Planes, static_cast<double>(planes), planes == kZtlPlanes},
        {ZtlHeaderField::MinBlockSize, static_cast<double>(read.minBlockSize),
         read.minBlockSize >= kMinBlockSizeLow && read.minBlockSize <= kMinBlockSizeHigh},
        {ZtlHeaderField::Width, static_cast<double>(read.width), IsValidPictureSize(read.width, 1)},
        {ZtlHeaderField::Height, static_cast<double>(read.height),
         IsValidPictureSize(1, read.height)},
        {ZtlHeaderField::Penalty, read.penalty,
         read.penalty >= kPenaltyLow && read.penalty <= kPenaltyHigh},
        {ZtlHeaderField::ValueQuantiser, static_cast<double>(read.quantiser.value),
         !optimised || read.quantiser.value > 0},
        {ZtlHeaderField::GradientQuantiser, static_cast<double>(read.quantiser.gradient),
         !optimised || read.quantiser.gradient > 0},
    };
    for (const auto& field : fields) {
        if (!field.valid) {
            if (badField)
                *badField = {field.field, field.value};
            return ZtlError::BadHeader;
        }
    }
    settings = read;
    return ZtlError::None;
}

ZtlError DecodeZtl(std::span<const std::uint8_t> file, ZtlPicture& picture) {
    ZtlSettings settings;
    if (const ZtlError error = ReadZtlHeader(file, settings); error != ZtlError::None)
        return error;
    const std::size_t headerBytes = HeaderBytes(settings.version);
    DecodingCoder coder(file.subspan(headerBytes));
    NoSource source;
    ZtlWalk walk(settings, coder, source);
    if (!walk.Run())
        return ZtlError::Corrupt;
    if (coder.Consumed() != file.size() - headerBytes)
        return ZtlError::TrailingData;
    picture.tree = {settings.width,        settings.height,          settings.penalty,
                    settings.minBlockSize, std::move(walk.Leaves()), settings.quantiser};
    picture.result = std::move(walk.Result());
    picture.grid = DrawGrid(picture.tree);
    return ZtlError::None;
}

}  // namespace zantrel
