#pragma once

namespace zantrel {

// The thread count of the cut-line search when the caller asks for "every core" (0).

// `threads` when positive, otherwise every core of the machine, at least 1.
int ResolveThreadCount(int threads);

}  // namespace zantrel
