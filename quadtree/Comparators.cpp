#include "quadtree/Comparators.h"

#include "quadtree/Records.h"

namespace zantrel {

namespace {
const QuadBlock& AsBlock(const void* p) {
    return *static_cast<const QuadBlock*>(p);
}
}  // namespace

int CompareBySize(const void* first, const void* second) {
    return AsBlock(first).size - AsBlock(second).size;
}

int CompareByRow(const void* first, const void* second) {
    return AsBlock(first).row - AsBlock(second).row;
}

int CompareByCol(const void* first, const void* second) {
    return AsBlock(first).col - AsBlock(second).col;
}

int CompareByColDesc(const void* first, const void* second) {
    return AsBlock(second).col - AsBlock(first).col;
}

}  // namespace zantrel
