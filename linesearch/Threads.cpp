#include "linesearch/Threads.h"

#include <thread>

namespace {
int g_threads = 0;
}

void SetSearchThreads(int threads) { g_threads = threads > 0 ? threads : 0; }

int SearchThreads() {
    if (g_threads > 0) return g_threads;
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 0 ? static_cast<int>(cores) : 1;
}
