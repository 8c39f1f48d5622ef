#include "cli/OptionValues.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "optimise/Optimiser.h"

namespace zantrel {

namespace {

std::string NotANumber(std::string_view option, std::string_view text) {
    return std::string(option) + ": \"" + std::string(text) + "\" is not a number";
}

// A number in `text`, written as decimals: digits, a point, an exponent, signs. strtod alone
// would also take blanks, hexadecimal, "inf" and "nan".
std::optional<double> PlainNumber(std::string_view text) {
    if (text.empty() || text.find_first_not_of("0123456789.eE+-") != std::string_view::npos)
        return std::nullopt;
    const std::string own(text);
    char* end = nullptr;
    const double value = std::strtod(own.c_str(), &end);
    if (end != own.c_str() + own.size())
        return std::nullopt;
    return value;
}

std::string Shortest(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

}  // namespace

std::optional<std::string> ReadRateTarget(std::string_view option, std::string_view text,
                                          double& rate) {
    const std::optional<double> value = PlainNumber(text);
    if (!value)
        return NotANumber(option, text);
    if (!IsRateTargetInRange(*value)) {
        return std::string(option) + ": " + std::string(text) +
               " is outside the rate targets' range, " + Shortest(kLowestRateTarget) + " to " +
               Shortest(kHighestRateTarget) + " bits per pixel";
    }
    rate = *value;
    return std::nullopt;
}

std::vector<std::string_view> ListItems(std::string_view list) {
    std::vector<std::string_view> items;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        items.push_back(
            list.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos)
            return items;
        start = comma + 1;
    }
}

std::optional<std::string> ReadRateTargets(std::string_view option, std::string_view list,
                                           std::vector<double>& rates) {
    rates.clear();
    std::vector<double> read;
    for (const std::string_view item : ListItems(list)) {
        double rate = 0.0;
        if (auto refusal = ReadRateTarget(option, item, rate))
            return refusal;
        read.push_back(rate);
    }
    rates = std::move(read);
    return std::nullopt;
}

std::optional<std::string> ReadPixelLimit(std::string_view option, std::string_view text,
                                          std::uint64_t& pixels) {
    if (!PlainNumber(text))
        return NotANumber(option, text);
    const std::string_view digits = text.starts_with('+') ? text.substr(1) : text;
    const bool whole = !digits.empty() &&
                       digits.find_first_not_of("0123456789") == std::string_view::npos &&
                       digits.find_first_not_of('0') != std::string_view::npos;
    if (!whole) {
        return std::string(option) + ": " + std::string(text) +
               " is not a whole number of pixels of at least 1";
    }
    // A limit beyond the largest count is no limit at all.
    const std::string own(digits);
    errno = 0;
    const unsigned long long value = std::strtoull(own.c_str(), nullptr, 10);
    pixels = errno == ERANGE ? std::numeric_limits<std::uint64_t>::max() : value;
    return std::nullopt;
}

std::optional<std::string> CheckRateTargetUse(std::string_view rateOption, bool rateGiven,
                                              bool optimise, std::string_view penaltyOption,
                                              bool penaltyGiven) {
    if (!rateGiven)
        return std::nullopt;
    if (!optimise)
        return std::string(rateOption) + " needs --optimise";
    if (penaltyGiven) {
        return std::string(rateOption) + " replaces " + std::string(penaltyOption) +
               ": give one of them";
    }
    return std::nullopt;
}

}  // namespace zantrel
