#pragma once
// The two parameters of a quadtree run as the user types them: reading, range checks and
// the messages for each refusal. The parameter dialog and zantrel-cli share these rules.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zantrel {

struct DecompositionParameters {
    double penalty = 1.0;           // 0 .. 100000000
    std::int32_t minBlockSize = 4;  // 1 .. 128
};

inline constexpr std::int32_t kMinBlockSizeLow = 1;
inline constexpr std::int32_t kMinBlockSizeHigh = 128;
inline constexpr double kPenaltyLow = 0.0;
inline constexpr double kPenaltyHigh = 100000000.0;

// A refused field: which one and the message for it, the Chinese text and, for a front end
// that translates it, its source pattern and the values of the pattern's %1 and %2.
struct ParameterError {
    enum Field { MinBlockSize, Penalty } field;
    std::string message;
    std::string_view pattern;
    std::vector<std::string> arguments;
};

// The default texts of the two edit boxes ("1" and "4").
std::string FormatPenalty(double penalty);
std::string FormatMinBlockSize(std::int32_t size);

// Checks the two texts in the dialog's order (block size first, then penalty) and stops
// at the first failure. Surrounding blanks are allowed.
std::optional<ParameterError> ParseDecompositionParameters(std::string_view penaltyText,
                                                           std::string_view minBlockSizeText,
                                                           DecompositionParameters& out);

}  // namespace zantrel
