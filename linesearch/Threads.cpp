#include "linesearch/Threads.h"

#include <thread>

namespace zantrel {

int ResolveThreadCount(int threads) {
    if (threads > 0)
        return threads;
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 0 ? static_cast<int>(cores) : 1;
}

}  // namespace zantrel
