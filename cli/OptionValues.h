#pragma once
// The values of the options every command reads the same way, from their texts as typed: a
// rate target (--rate, --rates), a pixel limit (--max-pixels), and the one rule of a rate
// target among the other options. Each refusal names the option and quotes the value as it
// was given, in the argument parser's words (cli/ParserWords.h); none prints anything.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zantrel {

// The items of a comma-separated list, as typed; an empty list is one empty item, which each
// reader refuses as its own.
std::vector<std::string_view> ListItems(std::string_view list);

// Reads a rate target in bits per pixel: a plain decimal number (no blanks, no hexadecimal)
// inside the rate targets' range, kLowestRateTarget .. kHighestRateTarget (optimise/Optimiser.h).
// The refusal ("--rate: 1e-307 is outside the rate targets' range, 0.001 to 10 bits per pixel",
// "--rate: \"abc\" is not a number"), or nothing with `rate` set.
std::optional<std::string> ReadRateTarget(std::string_view option, std::string_view text,
                                          double& rate);

// The same for a comma-separated list; an empty list or an empty item is not a number. On a
// refusal `rates` is left empty.
std::optional<std::string> ReadRateTargets(std::string_view option, std::string_view list,
                                           std::vector<double>& rates);

// Reads a pixel limit: a whole decimal number of at least 1.
std::optional<std::string> ReadPixelLimit(std::string_view option, std::string_view text,
                                          std::uint64_t& pixels);

// The one rule of a rate target on every command line: it needs --optimise, and it replaces
// the optimised mode's penalties (`penaltyOption`), so that the two are never both given.
std::optional<std::string> CheckRateTargetUse(std::string_view rateOption, bool rateGiven,
                                              bool optimise, std::string_view penaltyOption,
                                              bool penaltyGiven);

}  // namespace zantrel
