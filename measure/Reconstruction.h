#pragma once

#include <optional>
#include <vector>

#include "picture/Picture.h"
#include "picture/Progress.h"
#include "quadtree/Records.h"

namespace zantrel {

// Which side of its cut line a pixel of a cut block lies on, decided exactly as the
// reconstruction draws it.
class CCutSides {
  public:
    enum Side { B, Middle, A };
    explicit CCutSides(const CutModel& model);
    // The side of block-local pixel (j, k).
    Side Of(int j, int k) const { return Compare(RowCrossing(j), j, k); }
    // The crossing of an oblique line with the centre line of row j, as the comparison uses it.
    float RowCrossing(int j) const { return static_cast<float>((j + 0.5) * m_slope + m_intercept); }
    Side Compare(float rowCrossing, int j, int k) const;

  private:
    enum class Kind { ConstantRow, ConstantColumn, Oblique };
    Kind m_kind;
    double m_cut = 0.0;  // the row or column of an axis-parallel cut
    double m_slope = 0.0;
    double m_intercept = 0.0;
};

// Draws the block of `model` into `picture`: side A (larger row or column) in meanA, side B
// in meanB, a pixel whose centre lies exactly on an oblique line in the middle value.
void DrawCutBlock(const CutModel& model, GrayPicture& picture);

// The approximation: `blockPicture` with every block of `cutModels` drawn over it, side A
// (larger row or column) in meanA, side B in meanB, and a pixel whose centre lies exactly on
// an oblique line in the middle value. Reports "Zantrel解码", 100 * i / n per block, then
// "解码完毕" and 0; nothing when cancelled.
std::optional<GrayPicture> Reconstruct(const GrayPicture& blockPicture,
                                       const std::vector<CutModel>& cutModels, Progress& progress);

}  // namespace zantrel
