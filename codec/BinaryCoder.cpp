#include "codec/BinaryCoder.h"

#include <utility>

namespace zantrel {

namespace {

constexpr std::uint32_t kTopValue = 1u << 24;  // range stays at least this after a bit

// Where a context splits the range: in the full product, so that rounding costs next to
// nothing even for p0 near 1; with range >= 2^24 both parts stay at least 256 wide.
std::uint32_t ContextBound(std::uint32_t range, const BitContext& context) {
    return static_cast<std::uint32_t>((std::uint64_t{range} * context.Probability0()) >>
                                      BitContext::kProbabilityBits);
}

}  // namespace

void BitContext::Update(bool bit) {
    // A step of 1/2^shift of the distance keeps p0 within [1, 65535].
    const std::uint32_t p0 = m_probability0;
    m_probability0 =
        static_cast<std::uint16_t>(bit ? p0 - (p0 >> m_shift) : p0 + ((65536u - p0) >> m_shift));
    if (m_shift < kMaxShift) {
        ++m_shift;
    }
}

void BinaryEncoder::Encode(bool bit, BitContext& context) {
    Split(bit, ContextBound(m_range, context));
    context.Update(bit);
}

void BinaryEncoder::EncodeEqui(bool bit) {
    Split(bit, m_range >> 1);
}

void BinaryEncoder::EncodeBits(std::uint32_t value, int count) {
    for (int i = count - 1; i >= 0; --i) {
        EncodeEqui(((value >> i) & 1u) != 0);
    }
}

void BinaryEncoder::Split(bool bit, std::uint32_t bound) {
    if (bit) {
        m_low += bound;
        m_range -= bound;
    } else {
        m_range = bound;
    }
    while (m_range < kTopValue) {
        m_range <<= 8;
        ShiftLow();
    }
}

// Moves the top byte of the 32-bit low out. A byte can still grow by a carry from below until
// a byte other than 0xFF follows it, so it is held back together with the 0xFF bytes after it.
void BinaryEncoder::ShiftLow() {
    const auto top = static_cast<std::uint8_t>(m_low >> 24);
    const bool carry = (m_low >> 32) != 0;
    if (!m_hasPending) {
        // The first byte never takes a carry: the whole interval lies below 1.
        m_pendingByte = top;
        m_hasPending = true;
    } else if (top != 0xFF || carry) {
        m_bytes.push_back(static_cast<std::uint8_t>(m_pendingByte + (carry ? 1 : 0)));
        m_bytes.insert(m_bytes.end(), m_pendingFF, static_cast<std::uint8_t>(carry ? 0x00 : 0xFF));
        m_pendingByte = top;
        m_pendingFF = 0;
    } else {
        ++m_pendingFF;
    }
    m_low = (m_low & 0x00FFFFFFu) << 8;
}

std::vector<std::uint8_t> BinaryEncoder::Finish() {
    // Four shifts write the whole of low; the fifth pushes out what is still held back.
    for (int i = 0; i < 5; ++i) {
        ShiftLow();
    }
    return std::move(m_bytes);
}

BinaryDecoder::BinaryDecoder(std::span<const std::uint8_t> stream) : m_stream(stream) {
    for (int i = 0; i < 4; ++i) {
        m_code = (m_code << 8) | NextByte();
    }
}

bool BinaryDecoder::Decode(BitContext& context) {
    const bool bit = Split(ContextBound(m_range, context));
    context.Update(bit);
    return bit;
}

bool BinaryDecoder::DecodeEqui() {
    return Split(m_range >> 1);
}

std::uint32_t BinaryDecoder::DecodeBits(int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = (value << 1) | (DecodeEqui() ? 1u : 0u);
    }
    return value;
}

// On a corrupt stream code may not lie below range; the unsigned arithmetic then still stays
// defined, it just yields meaningless bits.
bool BinaryDecoder::Split(std::uint32_t bound) {
    const bool bit = m_code >= bound;
    if (bit) {
        m_code -= bound;
        m_range -= bound;
    } else {
        m_range = bound;
    }
    while (m_range < kTopValue) {
        m_range <<= 8;
        m_code = (m_code << 8) | NextByte();
    }
    return bit;
}

std::uint8_t BinaryDecoder::NextByte() {
    if (m_position < m_stream.size()) {
        return m_stream[m_position++];
    }
    ++m_overrun;
    return 0;
}

}  // namespace zantrel
