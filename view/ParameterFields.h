#pragma once
// The penalty and minimum block size as typed into a pair of fields, read by the parameter
// dialog's rules; the dialog and the explore panel both read theirs here.

#include <optional>

#include "quadtree/DecompositionParameters.h"

class QLineEdit;

namespace zantrel {

class DialogHost;

// The parameters in the two fields. On a refusal its message is shown through `host`, the
// offending field gets the focus with its text selected, and the result is nothing.
std::optional<DecompositionParameters> ReadParameterFields(DialogHost& host, QLineEdit& penalty,
                                                           QLineEdit& minBlockSize);

}  // namespace zantrel
