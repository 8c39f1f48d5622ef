#include "view/DocumentPictures.h"

namespace zantrel {

namespace {

const GrayPicture kNoGray;
const ColorPicture kNoColor;
const std::vector<QuadBlock> kNoBlocks;
const std::vector<CutModel> kNoCutModels;

}  // namespace

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
    return stages && stages->quadtree ? stages->quadtree->tree.grid : kNoGray;
}

const std::vector<QuadBlock>& DocumentPictures::DecomposedBlocks() const {
    if (const DecodedFile* decoded = Decoded())
        return decoded->decomposition.blocks;
    const PictureStages* stages = Stages();
    if (stages && stages->cutLines)
        return stages->cutLines->decomposition.blocks;
    return kNoBlocks;
}

const std::vector<QuadBlock>& DocumentPictures::Blocks() const {
    if (Decomposed())
        return DecomposedBlocks();
    const PictureStages* stages = Stages();
    if (stages && stages->quadtree)
        return stages->quadtree->tree.blocks;
    return kNoBlocks;
}

const std::vector<CutModel>& DocumentPictures::CutModels() const {
    if (const DecodedFile* decoded = Decoded())
        return decoded->decomposition.cutModels;
    const PictureStages* stages = Stages();
    if (stages && stages->cutLines)
        return stages->cutLines->decomposition.cutModels;
    return kNoCutModels;
}

}  // namespace zantrel
