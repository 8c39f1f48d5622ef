#include "measure/Reconstruction.h"

namespace {

// Fills one block from its cut model: side A (larger row or column) gets meanA, side B
// meanB, and a pixel whose centre lies exactly on an oblique line the middle value.
void DrawBlock(const CutModel& model, GrayPicture& picture) {
    const int s = model.size;
    const std::uint8_t a = model.meanA;
    const std::uint8_t b = model.meanB;
    const auto middle = static_cast<std::uint8_t>((a + b) * 0.5);
    auto at = [&](int j, int k) -> std::uint8_t& {
        return picture.samples[picture.Index(model.row + j, model.col + k)];
    };
    if (model.p1Row == model.p2Row) {
        for (int j = 0; j < s; ++j) {
            for (int k = 0; k < s; ++k)
                at(j, k) = j + 0.5 > model.p1Row ? a : b;
        }
    } else if (model.p1Col == model.p2Col) {
        for (int j = 0; j < s; ++j) {
            for (int k = 0; k < s; ++k)
                at(j, k) = k + 0.5 > model.p1Col ? a : b;
        }
    } else {
        // Both sides of the comparison are rounded to single precision, so a centre exactly
        // on the line compares equal despite the rounding error of the double computation.
        const double slope = (model.p2Col - model.p1Col) / (model.p2Row - model.p1Row);
        const double intercept = model.p1Col - model.p1Row * slope;
        for (int j = 0; j < s; ++j) {
            const auto x = static_cast<float>((j + 0.5) * slope + intercept);
            for (int k = 0; k < s; ++k) {
                const auto c = static_cast<float>(k + 0.5);
                at(j, k) = c > x ? a : (c == x ? middle : b);
            }
        }
    }
}

}  // namespace

std::optional<GrayPicture> Reconstruct(const GrayPicture& blockPicture,
                                       const std::vector<CutModel>& cutModels, CProgress& progress) {
    progress.SetText("Zantrel解码");
    GrayPicture result = blockPicture;
    const int n = static_cast<int>(cutModels.size());
    for (int i = 0; i < n; ++i) {
        if (progress.Cancelled())
            return std::nullopt;
        progress.SetPosition(static_cast<int>(100LL * i / n));
        DrawBlock(cutModels[i], result);
    }
    progress.SetText("解码完毕");
    progress.SetPosition(0);
    return result;
}
