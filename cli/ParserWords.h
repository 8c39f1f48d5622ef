#pragma once
// Refusals worded as the argument parser words them, in English: in Chinese mode a Chinese
// sentence introduces them, so that no refusal reads as if the language setting were ignored.

#include <string>

namespace zantrel {

std::string InParserWords(const std::string& reason);

}  // namespace zantrel
