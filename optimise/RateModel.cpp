#include "optimise/RateModel.h"

#include <cmath>
#include <cstdlib>

namespace zantrel {

BitCosts::BitCosts() : m_bits(kZtlContextCount, {1.0, 1.0}) {
    TabulateDifferences();
}

BitCosts::BitCosts(const ZtlStatistics& statistics) : m_bits(kZtlContextCount, {1.0, 1.0}) {
    for (std::size_t i = 0; i < statistics.size() && i < m_bits.size(); ++i) {
        const ZtlContextUse& use = statistics[i];
        const double total = use.count[0] + use.count[1];
        for (int bit = 0; bit < 2; ++bit) {
            if (use.count[bit] > 0)
                m_bits[i][bit] = use.bits[bit] / use.count[bit];
            else if (total > 0)
                m_bits[i][bit] = std::log2(total + 2.0);
        }
    }
    TabulateDifferences();
}

double BitCosts::Uniform(std::uint32_t value, std::uint32_t count) {
    if (count <= 1)
        return 0.0;
    int bits = 0;
    while ((std::uint64_t{1} << (bits + 1)) <= count)
        ++bits;
    const auto shortCodes = static_cast<std::uint32_t>((std::uint64_t{2} << bits) - count);
    return value < shortCodes ? bits : bits + 1;
}

double BitCosts::DifferenceFromContexts(const ZtlContexts::Value& contexts, int d,
                                        int maxBits) const {
    // As the walk codes it: zero flag, sign, bit length in unary, the bit under the leading
    // one in context, the rest bypassed.
    if (d == 0)
        return Bit(contexts.zero, true);
    double bits = Bit(contexts.zero, false) + Bit(contexts.negative, d < 0);
    const int magnitude = std::abs(d);
    int length = 1;
    while (length < maxBits) {
        const bool longer = (magnitude >> length) != 0;
        bits += Bit(contexts.length[length - 1], longer);
        if (!longer)
            break;
        ++length;
    }
    if (length >= 2)
        bits +=
            Bit(contexts.second[length - 1], ((magnitude >> (length - 2)) & 1) != 0) + (length - 2);
    return bits;
}

void BitCosts::TabulateDifferences() {
    m_differences.assign(kZtlContextCount, {});
    auto tabulate = [&](const ZtlContexts::Value& contexts, int maxBits) {
        std::vector<double>& table = m_differences[ZtlContextIndex(m_layout, contexts.zero)];
        const int largest = (1 << maxBits) - 1;
        table.resize(2 * largest + 1);
        for (int d = -largest; d <= largest; ++d)
            table[d + largest] = DifferenceFromContexts(contexts, d, maxBits);
    };
    for (const auto& role : m_layout.values) {
        for (const ZtlContexts::Value& contexts : role)
            tabulate(contexts, ZtlContexts::kValueBits);
    }
    for (const ZtlContexts::Value& contexts : m_layout.gradient)
        tabulate(contexts, ZtlContexts::kGradientBits);
}

}  // namespace zantrel
