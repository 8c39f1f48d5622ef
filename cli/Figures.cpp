#include "cli/Figures.h"

#include <cstdio>

namespace zantrel {

void PrintFigures(const std::vector<Figure>& figures, bool json) {
    if (json) {
        std::printf("{");
        for (std::size_t i = 0; i < figures.size(); ++i) {
            const Figure& f = figures[i];
            std::printf("%s\"%s\": %s%s%s", i ? ", " : "", f.jsonKey, f.quoted ? "\"" : "",
                        f.value.c_str(), f.quoted ? "\"" : "");
        }
        std::printf("}\n");
        return;
    }
    for (const Figure& f : figures)
        std::printf("%s: %s\n", f.textKey, f.value.c_str());
}

}  // namespace zantrel
