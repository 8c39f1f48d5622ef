#pragma once
// One parallel loop on plain threads: no pool, nothing spinning while it waits, so a busy
// machine costs the loop only its share of the processors.

#include <functional>

namespace zantrel {

// Calls body(piece, worker) for every piece 0..count-1 on `threads` threads (at least 1).
// The calling thread is worker 0 and takes part; pieces are handed out in increasing order,
// each to whichever worker is free first. Returns when every piece is done.
void ParallelFor(int count, int threads, const std::function<void(int piece, int worker)>& body);

}  // namespace zantrel
