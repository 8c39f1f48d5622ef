#pragma once

namespace zantrel {

// qsort comparators on QuadBlock records: the plain difference of the compared fields
// (all lie in 0..16384, so no difference overflows).

int CompareBySize(const void* first, const void* second);
int CompareByRow(const void* first, const void* second);
int CompareByCol(const void* first, const void* second);
int CompareByColDesc(const void* first, const void* second);

}  // namespace zantrel
