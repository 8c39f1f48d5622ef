#include "quadtree/DecompositionParameters.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "picture/MessageText.h"

namespace zantrel {

namespace {

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A whole decimal integer with an optional sign; out-of-range values saturate so that
// they fail the range test rather than the integer test.
std::optional<long long> ReadInteger(std::string_view text) {
    const std::string trimmed(Trim(text));
    if (trimmed.empty())
        return std::nullopt;
    const char* begin = trimmed.c_str();
    if (*begin == '+' || *begin == '-')
        ++begin;
    if (*begin < '0' || *begin > '9')
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(trimmed.c_str(), &end, 10);
    if (*end != '\0')
        return std::nullopt;
    return value;
}

// A decimal real number ("1", "-1", "2.5", "1e3"); no hexadecimal forms.
std::optional<double> ReadReal(std::string_view text) {
    const std::string trimmed(Trim(text));
    if (trimmed.empty() || trimmed.find_first_of("xX") != std::string::npos)
        return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(trimmed.c_str(), &end);
    if (end == trimmed.c_str() || *end != '\0')
        return std::nullopt;
    return value;
}

std::string FormatG15(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*g", 15, value);
    return text;
}

ParameterError Refusal(ParameterError::Field field, std::string_view pattern,
                       std::vector<std::string> arguments = {}) {
    return {field, FillPlaceholders(pattern, arguments), pattern, std::move(arguments)};
}

}  // namespace

std::string FormatPenalty(double penalty) {
    return FormatG15(penalty);
}

std::string FormatMinBlockSize(std::int32_t size) {
    return std::to_string(size);
}

std::optional<ParameterError> ParseDecompositionParameters(std::string_view penaltyText,
                                                           std::string_view minBlockSizeText,
                                                           DecompositionParameters& out) {
    const std::optional<long long> size = ReadInteger(minBlockSizeText);
    if (!size)
        return Refusal(ParameterError::MinBlockSize,
                       ZANTREL_MESSAGE("Zantrel", "请键入一个整数。"));
    if (*size < kMinBlockSizeLow || *size > kMinBlockSizeHigh) {
        return Refusal(ParameterError::MinBlockSize,
                       ZANTREL_MESSAGE("Zantrel", "“请填入一个在%1和%2之间的整数。”"),
                       {std::to_string(kMinBlockSizeLow), std::to_string(kMinBlockSizeHigh)});
    }
    const std::optional<double> penalty = ReadReal(penaltyText);
    if (!penalty)
        return Refusal(ParameterError::Penalty, ZANTREL_MESSAGE("Zantrel", "请键入一个数。"));
    // Written so that NaN fails as well.
    if (!(*penalty >= kPenaltyLow && *penalty <= kPenaltyHigh)) {
        return Refusal(ParameterError::Penalty,
                       ZANTREL_MESSAGE("Zantrel", "“请填入一个在%1和%2之间的数字。”"),
                       {FormatG15(kPenaltyLow), FormatG15(kPenaltyHigh)});
    }
    out.minBlockSize = static_cast<std::int32_t>(*size);
    out.penalty = *penalty + 0.0;  // -0 becomes 0, so it is never written "-0"
    return std::nullopt;
}

}  // namespace zantrel
