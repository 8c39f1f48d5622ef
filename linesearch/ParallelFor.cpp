#include "linesearch/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace zantrel {

void ParallelFor(int count, int threads, const std::function<void(int piece, int worker)>& body) {
    std::atomic<int> next{0};
    auto work = [&](int worker) {
        for (int piece = next++; piece < count; piece = next++)
            body(piece, worker);
    };
    std::vector<std::jthread> helpers;
    const int extra = std::min(threads, count) - 1;
    for (int worker = 1; worker <= extra; ++worker)
        helpers.emplace_back(work, worker);
    work(0);
}

}  // namespace zantrel
