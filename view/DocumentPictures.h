#pragma once
// The pictures of a document, as values: what the view draws. A document is either a picture
// with the stages run on it so far, or a decoded Zantrel file, which holds only what the file
// holds. The document owns them and replaces each only when its stage has succeeded; the view
// reads them through the questions below, whatever kind of document it is.

#include <cstdint>
#include <memory>
#include <optional>
#include <variant>

#include "codec/ZtlFile.h"
#include "measure/Stages.h"
#include "picture/Picture.h"
#include "quadtree/Quadtree.h"

namespace zantrel {

// The latest approximation of a mode on a gray picture, and the bits per pixel of its file.
struct ModeResult {
    GrayPicture picture;
    double fileBitrate = 0.0;
};

// A picture and the stages run on it, each made from the one before. The gray picture and the
// quadtree are shared with the background runs that read them and never change once made.
struct PictureStages {
    ColorPicture color;
    std::shared_ptr<const GrayPicture> gray;        // none before the gray stage
    std::shared_ptr<const QuadtreeStage> quadtree;  // none before the quadtree stage
    GrayPicture grayGrid;
    std::optional<CutLineStage> cutLines;  // the decomposition and its reconstruction
    // The latest approximation of each mode on this gray picture, for comparing the two.
    ModeResult exactResult;
    ModeResult optimisedResult;
};

// A decoded Zantrel file: no colour, gray or block picture, only what the file holds (the tree
// with its settings and models, its bare grid and the approximation), the gray grid drawn from
// them (the block borders over the approximation) and the file's bits per pixel.
struct DecodedFile {
    Quadtree tree;
    GrayPicture grid;
    GrayPicture result;
    GrayPicture grayGrid;
    double fileBitrate = 0.0;
};

// `file`, decoded from `bytes` bytes, as a document holds it.
DecodedFile DecodedFileOf(ZtlPicture file, std::uint64_t bytes);

struct DocumentPictures {
    // Nothing until a picture or file was first opened; never empty again.
    std::variant<std::monostate, PictureStages, DecodedFile> content;

    bool Loaded() const { return !std::holds_alternative<std::monostate>(content); }
    const PictureStages* Stages() const { return std::get_if<PictureStages>(&content); }
    const DecodedFile* Decoded() const { return std::get_if<DecodedFile>(&content); }

    // Each picture, empty where the document has none.
    const ColorPicture& Color() const;
    const GrayPicture& Gray() const;
    const GrayPicture& BlockPicture() const;
    const GrayPicture& GrayGrid() const;
    // What modes 3 and 5 show and what is saved: the reconstruction where there is one, else
    // the block picture.
    const GrayPicture& Result() const;
    // The block borders in 128 on 255, the picture's border included.
    const GrayPicture& Grid() const;

    // Whether the document holds a cut-line decomposition, a decoded file's included.
    bool Decomposed() const;
    // Whether the decomposition is the optimised mode's, whose values are quantised (a
    // decoded file of version 2 included).
    bool Optimised() const { return Decomposed() && !Tree().quantiser.IsExact(); }
    // The tree: the decomposition's where there is one, else the quadtree's, else an empty one.
    const Quadtree& Tree() const;
};

}  // namespace zantrel
