#pragma once

namespace zantrel {

// The commands that take what the view shows, at the picture's own size: the picture of the
// display mode, in mode 6 with the cut lines drawn in.

class ZantrelApp;

// Asks for a name and writes the shown picture: a PNG file for a ".png" name, a 24-bit BMP
// file for any other. Colour pictures become RGB PNG files, gray ones gray PNG files.
void OnSaveShownPicture(ZantrelApp& app);
// Puts the shown picture on the clipboard.
void OnCopyShownPicture(ZantrelApp& app);

}  // namespace zantrel
