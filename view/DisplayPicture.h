#pragma once
// The picture a display mode shows, built from the document's pictures.

#include <QImage>
#include <QSize>

#include "view/DisplayMode.h"
#include "view/DocumentPictures.h"

namespace zantrel {

// `picture` as an 8-bit gray image, top row first.
QImage GrayImage(const GrayPicture& picture);

// The picture of `mode` at its own size, top row first: the colour picture in mode 1, a gray
// picture in modes 2 to 6, white at the colour picture's size for any other mode. A null image
// while no picture has been loaded or while the mode's picture has not been made.
QImage DisplayPicture(const DocumentPictures& pictures, DisplayMode mode);

// What the view shows in `mode` as one picture at its own size, top row first: DisplayPicture,
// with the chosen cut lines drawn in red in mode 6 (the pixels `zantrel-cli --lines` writes).
// For saving, copying, printing and comparing what is shown.
QImage ShownPicture(const DocumentPictures& pictures, DisplayMode mode);

// The size DisplayPicture has for `mode`; the classic 512 x 512 while there is no picture.
QSize DisplaySize(const DocumentPictures& pictures, DisplayMode mode);

}  // namespace zantrel
