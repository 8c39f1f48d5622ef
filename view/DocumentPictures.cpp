#include "view/DocumentPictures.h"

#include "quadtree/GridPictures.h"

namespace zantrel {

namespace {

const GrayPicture kNoGray;
const ColorPicture kNoColor;
const Quadtree kNoTree;

}  // namespace

DecodedFile DecodedFileOf(ZtlPicture file, std::uint64_t bytes) {
    DecodedFile decoded;
    // The file has no block picture: its borders go over the approximation.
    decoded.grayGrid = MakeGrayGrid(file.grid, file.result);
    decoded.fileBitrate = ZtlFileBitRate(bytes, file.result.width, file.result.height);
    decoded.tree = std::move(file.tree);
    decoded.grid = std::move(file.grid);
    decoded.result = std::move(file.result);
    return decoded;
}

const ColorPicture& DocumentPictures::Color() const {
    const PictureStages* stages = Stages();
    return stages ? stages->color : kNoColor;
}

const GrayPicture& DocumentPictures::Gray() const {
    const PictureStages* stages = Stages();
    return stages && stages->gray ? *stages->gray : kNoGray;
}

const GrayPicture& DocumentPictures::BlockPicture() const {
    const PictureStages* stages = Stages();
    return stages && stages->quadtree ? stages->quadtree->blockPicture : kNoGray;
}

const GrayPicture& DocumentPictures::GrayGrid() const {
    if (const DecodedFile* decoded = Decoded())
        return decoded->grayGrid;
    const PictureStages* stages = Stages();
    return stages ? stages->grayGrid : kNoGray;
}

const GrayPicture& DocumentPictures::Result() const {
    if (const DecodedFile* decoded = Decoded())
        return decoded->result;
    const PictureStages* stages = Stages();
    if (stages && stages->cutLines)
        return stages->cutLines->result;
    return BlockPicture();
}

const GrayPicture& DocumentPictures::Grid() const {
    if (const DecodedFile* decoded = Decoded())
        return decoded->grid;
    const PictureStages* stages = Stages();
    return stages && stages->quadtree ? stages->quadtree->grid : kNoGray;
}

bool DocumentPictures::Decomposed() const {
    const PictureStages* stages = Stages();
    return Decoded() || (stages && stages->cutLines);
}

const Quadtree& DocumentPictures::Tree() const {
    if (const DecodedFile* decoded = Decoded())
        return decoded->tree;
    const PictureStages* stages = Stages();
    if (stages && stages->cutLines)
        return stages->cutLines->decomposition.tree;
    if (stages && stages->quadtree)
        return stages->quadtree->tree;
    return kNoTree;
}

}  // namespace zantrel
