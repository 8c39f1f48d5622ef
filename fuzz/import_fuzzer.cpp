// libFuzzer target: arbitrary bytes through the import of every picture format. Any crash,
// read out of bounds, undefined behaviour, hang or broken promise of the import is a finding.

#include <QtGlobal>
#include <cstdio>
#include <cstdlib>

#include "fuzz/LoadCheck.h"

using namespace zantrel;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The readers warn about every damaged input; the fuzzer's own output is what matters.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string problem = CheckImportBytes({data, size});
    if (!problem.empty()) {
        std::fprintf(stderr, "broken import: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
