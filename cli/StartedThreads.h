#pragma once
// The threads a command's run can start, asked once before the run.

namespace zantrel {

// The thread count to pass on for a run asked to use `threads` (0: every core): `threads` when
// that many can start now; otherwise the number that can, with a note on stderr that the run
// continues with them and that its results are the same.
int ThreadsThatStart(int threads);

}  // namespace zantrel
