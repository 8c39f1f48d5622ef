#pragma once
// The pictures the compare view offers: each picture computed so far for the document, the
// error picture |gray - approximation| through the colour map, and, once both modes have run on
// the gray picture, each mode's latest approximation and its error picture in place of the
// current approximation, which is one of them.

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
    ExactError,
    OptimisedError,
};

// The combo box's text of `picture`, a source text of the context "ComparePictures".
const char* ComparedPictureText(ComparedPicture picture);

// The pictures computed for `pictures`, in the order the combo boxes list them.
std::vector<ComparedPicture> AvailableComparedPictures(const DocumentPictures& pictures);

// The entry that shows what `picture` shows, for a choice to survive a change of the document:
// the current approximation and its error become their mode's once both modes are offered.
ComparedPicture SamePicture(const DocumentPictures& pictures, ComparedPicture picture);

struct ComparedImage {
    QImage image;                 // at the picture's own size, top row first
    std::optional<int> scaleTop;  // the error picture's largest error, the colour map's top
};

// `picture` of `pictures`; a null image where it has not been computed.
ComparedImage MakeComparedImage(const DocumentPictures& pictures, ComparedPicture picture);

// |gray - result| of two pictures of the same size through the colour map, 0 at the map's
// bottom and the largest error at its top.
ComparedImage MakeErrorImage(const GrayPicture& gray, const GrayPicture& result);

// The figures of the approximation or block picture that `picture` shows, or shows the cut
// lines or error of: its PSNR against the gray picture, and the bits per pixel of its Zantrel
// file. Each only where the document has it.
struct ComparedFigures {
    std::optional<double> psnr;  // dB
    std::optional<double> fileBitrate;
};
ComparedFigures MeasureComparedPicture(const DocumentPictures& pictures, ComparedPicture picture);

}  // namespace zantrel
