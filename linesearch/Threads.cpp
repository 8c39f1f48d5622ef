#include "linesearch/Threads.h"

#include <omp.h>

namespace {
int g_threads = 0;
}

void SetSearchThreads(int threads) {
    g_threads = threads > 0 ? threads : 0;
}

int SearchThreads() {
    return g_threads > 0 ? g_threads : omp_get_num_procs();
}
