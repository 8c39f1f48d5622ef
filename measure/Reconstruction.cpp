#include "measure/Reconstruction.h"
#include "picture/MessageText.h"

namespace zantrel {

CCutSides::CCutSides(const CutModel& model) {
    if (model.p1Row == model.p2Row) {
        m_kind = Kind::ConstantRow;
        m_cut = model.p1Row;
    } else if (model.p1Col == model.p2Col) {
        m_kind = Kind::ConstantColumn;
        m_cut = model.p1Col;
    } else {
        m_kind = Kind::Oblique;
        m_slope = (model.p2Col - model.p1Col) / (model.p2Row - model.p1Row);
        m_intercept = model.p1Col - model.p1Row * m_slope;
    }
}

CCutSides::Side CCutSides::Compare(float rowCrossing, int j, int k) const {
    switch (m_kind) {
        case Kind::ConstantRow:
            return j + 0.5 > m_cut ? A : B;
        case Kind::ConstantColumn:
            return k + 0.5 > m_cut ? A : B;
        case Kind::Oblique:
            break;
    }
    // Both sides are rounded to single precision, so a centre exactly on the line compares
    // equal despite the rounding error of the double computation.
    const auto c = static_cast<float>(k + 0.5);
    return c > rowCrossing ? A : (c == rowCrossing ? Middle : B);
}

void DrawCutBlock(const CutModel& model, GrayPicture& picture) {
    const CCutSides sides(model);
    const std::uint8_t values[3] = {
        model.meanB, static_cast<std::uint8_t>((model.meanA + model.meanB) * 0.5), model.meanA};
    for (int j = 0; j < model.size; ++j) {
        const float x = sides.RowCrossing(j);
        std::uint8_t* row = picture.samples.data() + picture.Index(model.row + j, model.col);
        for (int k = 0; k < model.size; ++k)
            row[k] = values[sides.Compare(x, j, k)];
    }
}

std::optional<GrayPicture> Reconstruct(const GrayPicture& blockPicture,
                                       const std::vector<CutModel>& cutModels, Progress& progress) {
    progress.SetText(ZANTREL_MESSAGE("Zantrel", "Zantrel解码"));
    GrayPicture result = blockPicture;
    const int n = static_cast<int>(cutModels.size());
    for (int i = 0; i < n; ++i) {
        if (progress.Cancelled())
            return std::nullopt;
        progress.SetPosition(static_cast<int>(100LL * i / n));
        DrawCutBlock(cutModels[i], result);
    }
    progress.SetText(ZANTREL_MESSAGE("Zantrel", "解码完毕"));
    progress.SetPosition(0);
    return result;
}

}  // namespace zantrel
