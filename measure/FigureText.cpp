#include "measure/FigureText.h"

#include <cstdio>

namespace zantrel {

std::string FormatFigure(double value) {
    char text[400];  // "%f" of the largest double needs 317 characters
    std::snprintf(text, sizeof text, "%f", value);
    return text;
}

}  // namespace zantrel
