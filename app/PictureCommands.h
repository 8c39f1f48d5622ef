#pragma once
// The commands of the picture menu: each runs its stage on the document, and the main window
// shows the stage's picture once the stage succeeded; a stage that fails or is cancelled
// changes nothing. The long stages run on the window's workers: the command returns at once
// and the result is shown when the stage is done.

class CMainFrame;

void OnPictureColor(CMainFrame& frame);
void OnPictureGray(CMainFrame& frame);
// Asks for the penalty and the minimum block size first, offering the explore panel's values
// once it has been used; cancelling does nothing.
void OnQuadtree(CMainFrame& frame);
void OnGrayGrid(CMainFrame& frame);
// The cut-line search and the reconstruction, reporting to the status bar; a decoded
// document only shows its result.
void OnZantrel(CMainFrame& frame);
void OnGridLines(CMainFrame& frame);
// The figure boxes; the mode stays.
void OnPsnr(CMainFrame& frame);
void OnBitRate(CMainFrame& frame);
