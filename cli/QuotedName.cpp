#include "cli/QuotedName.h"

#include <cctype>
#include <cstdio>

namespace zantrel {

std::string QuotedName(const std::string& name) {
    bool plain = true;
    for (const char c : name)
        plain = plain && !std::iscntrl(static_cast<unsigned char>(c));
    if (plain)
        return name;
    // A newline or another control character would split or garble the message.
    std::string quoted = "\"";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            quoted += "\\n";
        } else if (c == '\t') {
            quoted += "\\t";
        } else if (c == '"' || c == '\\') {
            quoted.append(1, '\\').append(1, c);
        } else if (std::iscntrl(byte)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

}  // namespace zantrel
