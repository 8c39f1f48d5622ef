#pragma once
// How many threads the cut-line search may use. Results are the same for every count.

// 0 restores the default: every core.
void SetSearchThreads(int threads);
int SearchThreads();
