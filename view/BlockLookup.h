#pragma once
// The leaf block under a picture pixel and what the status bar tells about it: its place, size,
// model and squared error. The blocks are the cut-line decomposition's where there is one (the
// result is then its reconstruction), otherwise the quadtree's leaves (the result is then the
// block picture). Built once per change of the document; a look-up searches the tree.

#include <QString>
#include <cstdint>
#include <vector>

#include "quadtree/Quadtree.h"
#include "view/DocumentPictures.h"

namespace zantrel {

class BlockLookup {
  public:
    // Reads the blocks of `pictures`, which must outlive the lookup or the next Build.
    void Build(const DocumentPictures& pictures);
    // Forgets every block.
    void Clear();

    // The block covering picture pixel (row, col), row 0 at the bottom; nullptr where none.
    const QuadBlock* Find(int row, int col) const;

    // "块 (行 R, 列 C) 大小 S：…" for the block covering (row, col), with its squared error
    // where the document has a gray picture; empty where no block covers it.
    QString Describe(int row, int col);

  private:
    const DocumentPictures* m_pictures = nullptr;
    const Quadtree* m_tree = nullptr;
    std::vector<std::int64_t> m_errors;  // per leaf, worked out on its first look-up; -1 before
};

// The sum over the block (row, col, size) of (gray - result)^2.
std::int64_t BlockSquaredError(const GrayPicture& gray, const GrayPicture& result, int row, int col,
                               int size);

}  // namespace zantrel
