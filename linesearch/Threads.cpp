#include "linesearch/Threads.h"

#include <thread>

namespace zantrel {

int DefaultThreadCount() {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 0 ? static_cast<int>(cores) : 1;
}

int ResolveThreadCount(int threads) {
    return threads > 0 ? threads : DefaultThreadCount();
}

}  // namespace zantrel
