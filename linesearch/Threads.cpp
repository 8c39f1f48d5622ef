#include "linesearch/Threads.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <vector>

namespace zantrel {

int ResolveThreadCount(int threads) {
    if (threads > 0)
        return threads;
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 0 ? static_cast<int>(cores) : 1;
}

std::jthread StartThread(std::function<void()> body) {
    return std::jthread(std::move(body));
}

int CountStartableThreads(int threads, const ThreadStarter& start) {
    // Every helper waits until the count is done, so that all of them are alive at once.
    std::mutex mutex;
    std::condition_variable released;
    bool done = false;
    int started = 1;
    {
        std::vector<std::jthread> helpers;
        helpers.reserve(static_cast<std::size_t>(std::max(threads - 1, 0)));
        for (; started < threads; ++started) {
            try {
                helpers.push_back(start([&] {
                    // An allocation, as a worker makes: the memory the allocator sets aside for
                    // a thread's allocations counts as its stack does.
                    const std::unique_ptr<char[]> allocation(new char[64]);
                    static_cast<volatile char*>(allocation.get())[0] = 0;
                    std::unique_lock lock(mutex);
                    released.wait(lock, [&] { return done; });
                }));
            } catch (const std::system_error&) {
                break;
            } catch (const std::bad_alloc&) {
                break;
            }
        }
        {
            const std::lock_guard lock(mutex);
            done = true;
        }
        released.notify_all();
    }  // the helpers are joined here
    return started;
}

}  // namespace zantrel
