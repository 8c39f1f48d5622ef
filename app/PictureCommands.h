#pragma once

namespace zantrel {

// The commands of the picture menu: each runs its stage on the document, and the main window
// shows the stage's picture once the stage succeeded; a stage that fails or is cancelled
// changes nothing. The long stages run on the window's workers: the command returns at once
// and the result is shown when the stage is done.

class MainFrame;

void OnPictureColor(MainFrame& frame);
void OnPictureGray(MainFrame& frame);
// Asks for the penalty and the minimum block size first, offering the explore panel's values
// once it has been used; cancelling does nothing.
void OnQuadtree(MainFrame& frame);
void OnGrayGrid(MainFrame& frame);
// The cut-line search and the reconstruction, reporting to the status bar; a decoded
// document only shows its result.
void OnZantrel(MainFrame& frame);
void OnGridLines(MainFrame& frame);
// The figure boxes; the mode stays.
void OnPsnr(MainFrame& frame);
void OnBitRate(MainFrame& frame);

}  // namespace zantrel
