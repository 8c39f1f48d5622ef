#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "codec/BinaryCoder.h"

namespace zantrel {

namespace {

// One coding step: a bit in context 0..3, or (context -1) one bypass bit or `count` of them.
struct Step {
    int context;
    int count;
    std::uint32_t value;
};

// Context bits of skews from even to rare, single bypass bits and values of 0..32 bits.
std::vector<Step> MixedSteps(int length, unsigned seed) {
    std::mt19937 random(seed);
    const double oneProbability[] = {0.5, 0.2, 0.05, 0.003};
    std::vector<Step> steps;
    for (int i = 0; i < length; ++i) {
        const int kind = static_cast<int>(random() % 6);
        const int count = kind < 5 ? 1 : static_cast<int>(random() % 33);
        const std::uint32_t mask = count == 32 ? ~0u : (1u << count) - 1;
        const std::uint32_t value =
            kind < 4 ? (random() < oneProbability[kind] * 4294967296.0) : random() & mask;
        steps.push_back({kind < 4 ? kind : -1, count, value});
    }
    return steps;
}

std::vector<std::uint8_t> EncodeSteps(const std::vector<Step>& steps) {
    BinaryEncoder encoder;
    BitContext contexts[4];
    for (const Step& step : steps) {
        if (step.context >= 0) {
            encoder.Encode(step.value != 0, contexts[step.context]);
        } else if (step.count == 1) {
            encoder.EncodeEqui(step.value != 0);
        } else {
            encoder.EncodeBits(step.value, step.count);
        }
    }
    return encoder.Finish();
}

// True when every value came back.
bool DecodeSteps(BinaryDecoder& decoder, const std::vector<Step>& steps) {
    BitContext contexts[4];
    bool same = true;
    for (const Step& step : steps) {
        const std::uint32_t value = step.context >= 0 ? decoder.Decode(contexts[step.context])
                                    : step.count == 1 ? decoder.DecodeEqui()
                                                      : decoder.DecodeBits(step.count);
        same = same && value == step.value;
    }
    return same;
}

double Entropy(double p) {
    return p <= 0 || p >= 1 ? 0 : -p * std::log2(p) - (1 - p) * std::log2(1 - p);
}

TEST(BinaryCoder, SkewedBitsRoundTripNearTheirEntropy) {
    // {p(1), most bits over the static entropy}: an adapting model pays for learning and, being
    // quick to follow a change, for its jitter on a steady source, more so for rare ones.
    const struct {
        double oneProbability;
        double staticMargin;
    } cases[] = {{0.5, 1.015}, {0.1, 1.03}, {0.01, 1.2}, {0.001, 1.15}};
    constexpr int kBits = 1 << 20;
    for (const auto& test : cases) {
        SCOPED_TRACE(test.oneProbability);
        std::mt19937 random(7);
        const auto nextBit = [&] { return random() < test.oneProbability * 4294967296.0; };
        BinaryEncoder encoder;
        BitContext context;
        double idealBits = 0;  // what the same adaptive model costs coded exactly
        int ones = 0;
        for (int i = 0; i < kBits; ++i) {
            const bool bit = nextBit();
            const double p0 = context.Probability0() / 65536.0;
            idealBits -= std::log2(bit ? 1 - p0 : p0);
            ones += bit ? 1 : 0;
            encoder.Encode(bit, context);
        }
        const std::vector<std::uint8_t> stream = encoder.Finish();
        const double codedBits = 8.0 * static_cast<double>(stream.size());
        EXPECT_LE(codedBits, idealBits * 1.001 + 32);  // 32: the flushed low
        EXPECT_LE(codedBits, kBits * Entropy(double(ones) / kBits) * test.staticMargin + 32);

        random.seed(7);
        BinaryDecoder decoder(stream);
        BitContext decoderContext;
        int mismatches = 0;
        for (int i = 0; i < kBits; ++i) {
            mismatches += decoder.Decode(decoderContext) != nextBit() ? 1 : 0;
        }
        EXPECT_EQ(mismatches, 0);
        EXPECT_EQ(decoder.Overrun(), 0u);
    }
}

TEST(BinaryCoder, MixedContextsAndBypassBitsRoundTrip) {
    for (const int length : {0, 1, 5, 100, 20000}) {
        SCOPED_TRACE(length);
        const std::vector<Step> steps = MixedSteps(length, static_cast<unsigned>(length));
        const std::vector<std::uint8_t> stream = EncodeSteps(steps);
        BinaryDecoder decoder(stream);
        EXPECT_TRUE(DecodeSteps(decoder, steps));
        EXPECT_EQ(decoder.Overrun(), 0u);  // the decoder reads exactly the stream
        decoder.DecodeBits(32);            // past the last bit written
        EXPECT_TRUE(decoder.Exhausted());
    }
}

TEST(BinaryCoder, ShortOrCorruptStreamsReportTheOverrun) {
    const std::vector<Step> steps = MixedSteps(3000, 11);
    const std::vector<std::uint8_t> stream = EncodeSteps(steps);
    for (const std::size_t cut :
         {std::size_t{1}, std::size_t{4}, stream.size() / 2, stream.size()}) {
        BinaryDecoder decoder{std::span<const std::uint8_t>(stream).first(stream.size() - cut)};
        DecodeSteps(decoder, steps);
        EXPECT_TRUE(decoder.Exhausted());
    }
    // Random bytes: any bits, no reads out of bounds, and 1024 bypass bits need more bytes.
    std::mt19937 random(5);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<std::uint8_t> garbage(random() % 100);
        std::generate(garbage.begin(), garbage.end(), [&] { return std::uint8_t(random()); });
        BinaryDecoder decoder(garbage);
        DecodeSteps(decoder, steps);
        for (int i = 0; i < 32; ++i) {
            decoder.DecodeBits(32);
        }
        EXPECT_TRUE(decoder.Exhausted());
    }
}

}  // namespace

}  // namespace zantrel
