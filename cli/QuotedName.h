#pragma once
// File names as the command line's messages show them.

#include <string>

namespace zantrel {

// `name` as it is, or in quotes with C escapes where it holds a control character.
std::string QuotedName(const std::string& name);

}  // namespace zantrel
