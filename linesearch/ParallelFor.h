#pragma once
// One parallel loop on plain threads: no pool, nothing spinning while it waits, so a busy
// machine costs the loop only its share of the processors.

#include <functional>

#include "linesearch/Threads.h"

namespace zantrel {

// Calls body(piece, worker) for every piece 0..count-1 on `threads` threads (at least 1).
// The calling thread is worker 0 and takes part; pieces are handed out in increasing order,
// each to whichever worker is free first. Returns when every piece is done, with the number of
// workers that took part: a helper that cannot start (std::system_error from `start`, no memory)
// is done without, with the workers that did start (numbered 1, 2, ... as ever), so the pieces
// and their results are the same. An exception from `body` on any worker stops the handing out
// and, once every worker has stopped, is thrown again on the calling thread (the first one).
int ParallelFor(int count, int threads, const std::function<void(int piece, int worker)>& body,
                const ThreadStarter& start = StartThread);

}  // namespace zantrel
