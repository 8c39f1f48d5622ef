#pragma once

namespace zantrel {

// The commands of the picture menu: each runs its stage on the document and, only when the
// stage succeeded, shows its mode; a stage that fails or is cancelled changes nothing. The
// long stages run on the application's worker: the command returns at once and its result is
// shown when the stage is done.

class ZantrelApp;

void OnPictureColor(ZantrelApp& app);
void OnPictureGray(ZantrelApp& app);
// Asks for the penalty and the minimum block size first, offering the explore panel's values
// once it has been used; cancelling does nothing.
void OnQuadtree(ZantrelApp& app);
void OnGrayGrid(ZantrelApp& app);
// The cut-line search and the reconstruction, reporting to the status bar; a decoded
// document only shows its result.
void OnZantrel(ZantrelApp& app);
void OnGridLines(ZantrelApp& app);
// The figure boxes; the mode stays.
void OnPsnr(ZantrelApp& app);
void OnBitRate(ZantrelApp& app);

}  // namespace zantrel
