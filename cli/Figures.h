#pragma once
// The figures a command prints: "key: value" lines, or one JSON object for scripts.

#include <string>
#include <vector>

namespace zantrel {

struct Figure {
    const char* textKey;  // as printed on a line: "key: value"
    const char* jsonKey;
    std::string value;
    bool quoted;  // a string in JSON ("%f" texts), otherwise a number
};

void PrintFigures(const std::vector<Figure>& figures, bool json);

}  // namespace zantrel
