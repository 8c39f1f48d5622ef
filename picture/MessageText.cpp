#include "picture/MessageText.h"

namespace zantrel {

std::string FillPlaceholders(std::string_view pattern, std::span<const std::string> arguments) {
    std::string text;
    text.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::size_t index =
            i + 1 < pattern.size() ? static_cast<std::size_t>(pattern[i + 1] - '1') : 9;
        if (pattern[i] == '%' && index < arguments.size() && index < 9) {
            text += arguments[index];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

}  // namespace zantrel
