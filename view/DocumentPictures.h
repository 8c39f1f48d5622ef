#pragma once
// The pictures of a document, one per stage, as values: what the view draws. The document
// owns them and replaces each only when its stage has succeeded.

#include "linesearch/LineSearch.h"
#include "measure/Stages.h"
#include "picture/Picture.h"

namespace zantrel {

struct DocumentPictures {
    bool loaded = false;  // a picture was ever loaded; never reset
    // Opened from a .ztl file: there is no colour or gray picture, only what the file holds,
    // the result, the quadtree's settings and bare grid and the decomposition.
    bool decoded = false;
    ColorPicture color;
    GrayPicture gray;
    QuadtreeStage quadtree;  // the leaves, the bare grid and the block picture
    GrayPicture grayGrid;
    Decomposition decomposition;
    // What modes 3 and 5 show and what is saved: the block picture after the quadtree
    // stage, the reconstruction after the cut-line stage.
    GrayPicture result;
};

}  // namespace zantrel
