#pragma once

#include <functional>
#include <thread>

namespace zantrel {

// The thread count of the cut-line search when the caller asks for "every core" (0).

// `threads` when positive, otherwise every core of the machine, at least 1.
int ResolveThreadCount(int threads);

// How a helper thread is started: std::jthread's own way by default. A thread that cannot
// start (no memory for its stack, a process limit) throws std::system_error, as std::jthread
// does; a test passes a starter that fails on purpose.
using ThreadStarter = std::function<std::jthread(std::function<void()>)>;
std::jthread StartThread(std::function<void()> body);

// How many of `threads` threads (the calling one and threads - 1 helpers, each started with
// `start` and all alive at once) can run now: `threads` when every helper starts, otherwise
// 1 + those that did. The helpers end before it returns.
int CountStartableThreads(int threads, const ThreadStarter& start = StartThread);

}  // namespace zantrel
