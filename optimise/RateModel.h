#pragma once
// What the optimised mode believes each decision costs in the file, in bits: per-context code
// lengths taken from an encoding's statistics (what each context really spent, as its adaptive
// probabilities then stood), or one bit per coded bit before any encoding.

#include <array>
#include <cstddef>
#include <vector>

#include "codec/ZtlFile.h"
#include "codec/ZtlWalk.h"

namespace zantrel {

class BitCosts {
  public:
    // One bit per coded bit, before the coder has been asked.
    BitCosts();
    // The mean cost of each bit value in each context of an encoding; a value a context
    // never coded costs what a first surprise there would.
    explicit BitCosts(const ZtlStatistics& statistics);

    // The contexts' layout, to name a context: Bit(costs.Contexts().cut[level][a], true).
    const ZtlContexts& Contexts() const { return m_layout; }
    double Bit(const BitContext& context, bool bit) const {
        return m_bits[ZtlContextIndex(m_layout, context)][bit];
    }
    // The bits of a difference d in a set of value contexts: -255 .. 255 for values,
    // -1023 .. 1023 for gradients.
    double Difference(const ZtlContexts::Value& contexts, int d) const {
        const std::vector<double>& table = m_differences[ZtlContextIndex(m_layout, contexts.zero)];
        return table[d + table.size() / 2];
    }
    // The bits of a truncated binary code of `count` values for `value`.
    static double Uniform(std::uint32_t value, std::uint32_t count);

  private:
    void TabulateDifferences();
    double DifferenceFromContexts(const ZtlContexts::Value& contexts, int d, int maxBits) const;

    ZtlContexts m_layout;
    std::vector<std::array<double, 2>> m_bits;  // per context, per bit value
    // Per context index of a value set's `zero` context, the bits of every difference.
    std::vector<std::vector<double>> m_differences;
};

}  // namespace zantrel
