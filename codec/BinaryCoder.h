#pragma once
// Adaptive binary arithmetic coding: the entropy coder under the .ztl file.
//
// Stream format, enough to write a compatible decoder:
// - The coder keeps an interval [low, low + range) of 32-bit fixed-point numbers, range starting
//   at 0xFFFFFFFF and low at 0. A context bit splits it at bound = (range * p0) >> 16, the
//   product in 64 bits, p0 being the context's probability of a 0 in units of 2^-16; a bypass
//   bit splits it at bound = range >> 1. A 0 keeps [low, low + bound), a 1 keeps
//   [low + bound, low + range).
// - While range < 2^24 after a bit, range and low shift left by 8 bits and the top byte of low
//   leaves as the next stream byte; carries out of low are added to the bytes already out.
// - After the last bit, the four bytes of low follow, most significant first.
// - A decoder starts with range = 0xFFFFFFFF and code = the first four bytes, big-endian. Per
//   bit it computes the same bound and decodes 0 if code < bound (range = bound), else 1
//   (code -= bound, range -= bound); while range < 2^24 it shifts range and code left by 8 bits
//   and reads the next byte into the low end of code. Decoding exactly the bits written reads
//   exactly the whole stream.
// - A context (BitContext) starts at p0 = 32768 and after each of its bits moves by
//   p0 -= p0 >> shift for a 1, p0 += (65536 - p0) >> shift for a 0, with shift 1, 2, ..., 5
//   for its first five bits and 5 after: quick to learn, and quick to follow a change.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zantrel {

// An adaptive probability that the next bit in one context is 0.
class BitContext {
  public:
    static constexpr int kProbabilityBits = 16;
    static constexpr int kMaxShift = 5;

    // Probability of a 0, in units of 2^-16; always within [1, 65535].
    std::uint32_t Probability0() const { return m_probability0; }
    // Moves the probability towards `bit`; the coder calls it after coding in this context.
    void Update(bool bit);

  private:
    std::uint16_t m_probability0 = 1u << (kProbabilityBits - 1);
    std::uint8_t m_shift = 1;
};

class BinaryEncoder {
  public:
    void Encode(bool bit, BitContext& context);
    // A bit of probability 1/2, without a context.
    void EncodeEqui(bool bit);
    // The low `count` (0..32) bits of `value`, most significant first, as bypass bits.
    void EncodeBits(std::uint32_t value, int count);
    // Flushes and returns the stream; the encoder is spent afterwards.
    std::vector<std::uint8_t> Finish();

  private:
    void Split(bool bit, std::uint32_t bound);
    void ShiftLow();

    std::uint64_t m_low = 0;  // bit 32 is a carry not yet added to the pending bytes
    std::uint32_t m_range = 0xFFFFFFFFu;
    std::uint8_t m_pendingByte = 0;  // the last byte out that a carry may still change,
    std::uint64_t m_pendingFF = 0;   // followed by this many 0xFF bytes
    bool m_hasPending = false;       // nothing is pending before the first shift
    std::vector<std::uint8_t> m_bytes;
};

class BinaryDecoder {
  public:
    explicit BinaryDecoder(std::span<const std::uint8_t> stream);

    bool Decode(BitContext& context);
    bool DecodeEqui();
    // `count` (0..32) bypass bits, most significant first.
    std::uint32_t DecodeBits(int count);

    // Bytes read past the end of the stream (read as zeros). A stream decoded for more bits
    // than were written, or truncated, or corrupt, shows up here.
    std::size_t Overrun() const { return m_overrun; }
    bool Exhausted() const { return m_overrun > 0; }
    // Bytes of the stream read so far; a whole valid stream is read exactly.
    std::size_t Consumed() const { return m_position; }

  private:
    bool Split(std::uint32_t bound);
    std::uint8_t NextByte();

    std::span<const std::uint8_t> m_stream;
    std::size_t m_position = 0;
    std::size_t m_overrun = 0;
    std::uint32_t m_code = 0;
    std::uint32_t m_range = 0xFFFFFFFFu;
};

}  // namespace zantrel
