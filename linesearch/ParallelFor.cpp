#include "linesearch/ParallelFor.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <new>
#include <system_error>
#include <vector>

namespace zantrel {

int ParallelFor(int count, int threads, const std::function<void(int piece, int worker)>& body,
                const ThreadStarter& start) {
    std::atomic<int> next{0};
    std::mutex failureMutex;
    std::exception_ptr failure;
    auto work = [&](int worker) {
        try {
            for (int piece = next++; piece < count; piece = next++)
                body(piece, worker);
        } catch (...) {
            {
                const std::lock_guard lock(failureMutex);
                if (!failure)
                    failure = std::current_exception();
            }
            next = count;  // no worker takes another piece
        }
    };
    int workers = 1;
    {
        std::vector<std::jthread> helpers;
        const int extra = std::min(threads, count) - 1;
        if (extra > 0)
            helpers.reserve(static_cast<std::size_t>(extra));
        for (int worker = 1; worker <= extra; ++worker, ++workers) {
            try {
                helpers.push_back(start([&work, worker] { work(worker); }));
            } catch (const std::system_error&) {
                break;
            } catch (const std::bad_alloc&) {
                break;
            }
        }
        work(0);
    }  // the helpers are joined here
    if (failure)
        std::rethrow_exception(failure);
    return workers;
}

}  // namespace zantrel
