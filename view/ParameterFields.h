#pragma once
// The penalty and minimum block size as typed into a pair of fields, read by the parameter
// dialog's rules; the dialog and the explore panel both read theirs here. Also the run mode
// both offer and the explore panel's rate target.

#include <QString>
#include <optional>

#include "optimise/Optimiser.h"
#include "quadtree/DecompositionParameters.h"

class QLineEdit;

namespace zantrel {

class DialogHost;

// The parameters in the two fields. On a refusal its message is shown through `host`, the
// offending field gets the focus with its text selected, and the result is nothing.
std::optional<DecompositionParameters> ReadParameterFields(DialogHost& host, QLineEdit& penalty,
                                                           QLineEdit& minBlockSize);

// How the cut-line command decomposes: the exact mode's quadtree and cut lines, or the
// optimised mode, which chooses tree, models and quantised values for the file, its penalty
// priced per bit of the file.
enum class RunMode { Exact, Optimised };
// The mode's name in the interface's language.
QString RunModeName(RunMode mode);

// The rates a target may ask for, in bits per pixel: the engine's range.
inline constexpr double kRateLow = kLowestRateTarget;
inline constexpr double kRateHigh = kHighestRateTarget;
// The target rate in `rate`; a refusal is shown through `host` like the parameters'.
std::optional<double> ReadRateField(DialogHost& host, QLineEdit& rate);
// A rate as the field shows it: three significant digits.
QString FormatRate(double rate);

}  // namespace zantrel
