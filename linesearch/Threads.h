#pragma once

namespace zantrel {

// The thread count of the cut-line search when the caller asks for "every core" (0).

// Every core of the machine, at least 1.
int DefaultThreadCount();

// `threads` when positive, otherwise DefaultThreadCount().
int ResolveThreadCount(int threads);

}  // namespace zantrel
