#pragma once
// The pictures the compare view offers: each picture computed so far for the document, the
// error picture |gray - result| through the colour map, and, once both modes have run on the
// gray picture, each mode's latest approximation.

#include <QImage>
#include <optional>
#include <vector>

#include "view/DocumentPictures.h"

namespace zantrel {

enum class ComparedPicture {
    Color,
    Gray,
    Blocks,
    GrayGrid,
    Approximation,
    CutLines,
    Error,
    ExactApproximation,
    OptimisedApproximation,
};

// The combo box's text of `picture`, a source text of the context "ComparePictures".
const char* ComparedPictureText(ComparedPicture picture);

// The pictures computed for `pictures`, in the order the combo boxes list them.
std::vector<ComparedPicture> AvailableComparedPictures(const DocumentPictures& pictures);

struct ComparedImage {
    QImage image;                 // at the picture's own size, top row first
    std::optional<int> scaleTop;  // the error picture's largest error, the colour map's top
};

// `picture` of `pictures`; a null image where it has not been computed.
ComparedImage MakeComparedImage(const DocumentPictures& pictures, ComparedPicture picture);

// |gray - result| of two pictures of the same size through the colour map, 0 at the map's
// bottom and the largest error at its top.
ComparedImage MakeErrorImage(const GrayPicture& gray, const GrayPicture& result);

}  // namespace zantrel
