// libFuzzer target: arbitrary bytes through the BMP reader. Any crash, read out of bounds,
// undefined behaviour, hang or broken promise of the reader is a finding.

#include <cstdio>
#include <cstdlib>

#include "fuzz/LoadCheck.h"

using namespace zantrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string problem = CheckLoadBytes({data, size});
    if (!problem.empty()) {
        std::fprintf(stderr, "broken load: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
