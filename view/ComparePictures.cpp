#include "view/ComparePictures.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "measure/Psnr.h"
#include "view/ColorMap.h"
#include "view/DisplayPicture.h"

namespace zantrel {

namespace {

bool Has(const GrayPicture& picture) {
    return !picture.samples.empty();
}

bool BothModes(const DocumentPictures& pictures) {
    const PictureStages* stages = pictures.Stages();
    return stages && Has(stages->exactResult.picture) && Has(stages->optimisedResult.picture);
}

// Whether the decomposition's approximation is offered as its mode's.
bool ShownAsItsMode(const DocumentPictures& pictures) {
    return pictures.Decomposed() && BothModes(pictures);
}

// The mode result that `picture` shows or shows the error of, offered once both modes have one;
// nothing for any other picture.
const ModeResult* ModeResultOf(const DocumentPictures& pictures, ComparedPicture picture) {
    if (!BothModes(pictures))
        return nullptr;
    const PictureStages& stages = *pictures.Stages();
    switch (picture) {
        case ComparedPicture::ExactApproximation:
        case ComparedPicture::ExactError:
            return &stages.exactResult;
        case ComparedPicture::OptimisedApproximation:
        case ComparedPicture::OptimisedError:
            return &stages.optimisedResult;
        default:
            return nullptr;
    }
}

bool Available(const DocumentPictures& pictures, ComparedPicture picture) {
    const GrayPicture& gray = pictures.Gray();
    const GrayPicture& result = pictures.Result();
    switch (picture) {
        case ComparedPicture::Color:
            return pictures.Color().PixelCount() > 0;
        case ComparedPicture::Gray:
            return Has(gray);
        case ComparedPicture::Blocks:
            return Has(pictures.BlockPicture());
        case ComparedPicture::GrayGrid:
            return Has(pictures.GrayGrid());
        case ComparedPicture::Approximation:
            return pictures.Decomposed() && Has(result) && !ShownAsItsMode(pictures);
        case ComparedPicture::CutLines:
            return pictures.Decomposed() && Has(pictures.Grid());
        case ComparedPicture::Error:
            return Has(gray) && gray.width == result.width && gray.height == result.height &&
                   !ShownAsItsMode(pictures);
        case ComparedPicture::ExactApproximation:
        case ComparedPicture::OptimisedApproximation:
        case ComparedPicture::ExactError:
        case ComparedPicture::OptimisedError:
            return ModeResultOf(pictures, picture) != nullptr;
    }
    return false;
}

constexpr ComparedPicture kOrder[] = {
    ComparedPicture::Color,
    ComparedPicture::Gray,
    ComparedPicture::Blocks,
    ComparedPicture::GrayGrid,
    ComparedPicture::Approximation,
    ComparedPicture::CutLines,
    ComparedPicture::Error,
    ComparedPicture::ExactApproximation,
    ComparedPicture::OptimisedApproximation,
    ComparedPicture::ExactError,
    ComparedPicture::OptimisedError,
};

}  // namespace

const char* ComparedPictureText(ComparedPicture picture) {
    switch (picture) {
        case ComparedPicture::Color:
            return QT_TRANSLATE_NOOP("ComparePictures", "彩色图像");
        case ComparedPicture::Gray:
            return QT_TRANSLATE_NOOP("ComparePictures", "灰度图像");
        case ComparedPicture::Blocks:
            return QT_TRANSLATE_NOOP("ComparePictures", "四叉树块");
        case ComparedPicture::GrayGrid:
            return QT_TRANSLATE_NOOP("ComparePictures", "灰度网格");
        case ComparedPicture::Approximation:
            return QT_TRANSLATE_NOOP("ComparePictures", "Zantrel 近似");
        case ComparedPicture::CutLines:
            return QT_TRANSLATE_NOOP("ComparePictures", "切割线");
        case ComparedPicture::Error:
            return QT_TRANSLATE_NOOP("ComparePictures", "误差 |灰度 − 近似|");
        case ComparedPicture::ExactApproximation:
            return QT_TRANSLATE_NOOP("ComparePictures", "Zantrel 近似（精确模式）");
        case ComparedPicture::OptimisedApproximation:
            return QT_TRANSLATE_NOOP("ComparePictures", "Zantrel 近似（率失真优化）");
        case ComparedPicture::ExactError:
            return QT_TRANSLATE_NOOP("ComparePictures", "误差 |灰度 − 近似（精确模式）|");
        case ComparedPicture::OptimisedError:
            return QT_TRANSLATE_NOOP("ComparePictures", "误差 |灰度 − 近似（率失真优化）|");
    }
    return "";
}

std::vector<ComparedPicture> AvailableComparedPictures(const DocumentPictures& pictures) {
    std::vector<ComparedPicture> available;
    for (const ComparedPicture picture : kOrder) {
        if (pictures.Loaded() && Available(pictures, picture))
            available.push_back(picture);
    }
    return available;
}

ComparedPicture SamePicture(const DocumentPictures& pictures, ComparedPicture picture) {
    if (!ShownAsItsMode(pictures))
        return picture;
    const bool optimised = pictures.Optimised();
    if (picture == ComparedPicture::Approximation)
        return optimised ? ComparedPicture::OptimisedApproximation
                         : ComparedPicture::ExactApproximation;
    if (picture == ComparedPicture::Error)
        return optimised ? ComparedPicture::OptimisedError : ComparedPicture::ExactError;
    return picture;
}

ComparedImage MakeComparedImage(const DocumentPictures& pictures, ComparedPicture picture) {
    if (!pictures.Loaded() || !Available(pictures, picture))
        return {};
    switch (picture) {
        case ComparedPicture::Color:
            return {DisplayPicture(pictures, DISPLAY_COLOR), std::nullopt};
        case ComparedPicture::Gray:
            return {GrayImage(pictures.Gray()), std::nullopt};
        case ComparedPicture::Blocks:
            return {GrayImage(pictures.BlockPicture()), std::nullopt};
        case ComparedPicture::GrayGrid:
            return {GrayImage(pictures.GrayGrid()), std::nullopt};
        case ComparedPicture::Approximation:
            return {GrayImage(pictures.Result()), std::nullopt};
        case ComparedPicture::CutLines:
            return {ShownPicture(pictures, DISPLAY_GRID_LINES), std::nullopt};
        case ComparedPicture::Error:
            return MakeErrorImage(pictures.Gray(), pictures.Result());
        case ComparedPicture::ExactApproximation:
        case ComparedPicture::OptimisedApproximation:
            return {GrayImage(ModeResultOf(pictures, picture)->picture), std::nullopt};
        case ComparedPicture::ExactError:
        case ComparedPicture::OptimisedError:
            return MakeErrorImage(pictures.Gray(), ModeResultOf(pictures, picture)->picture);
    }
    return {};
}

ComparedImage MakeErrorImage(const GrayPicture& gray, const GrayPicture& result) {
    int top = 0;
    for (std::size_t i = 0; i < gray.samples.size(); ++i)
        top = std::max(top, std::abs(gray.samples[i] - result.samples[i]));
    std::array<QRgb, 256> colors{};
    for (int error = 0; error <= top; ++error)
        colors[static_cast<std::size_t>(error)] = ColorMapAt(top ? double(error) / top : 0.0);
    QImage image(gray.width, gray.height, QImage::Format_RGB32);
    for (int r = 0; r < gray.height; ++r) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(gray.height - 1 - r));
        for (int c = 0; c < gray.width; ++c)
            line[c] = colors[static_cast<std::size_t>(std::abs(gray.At(r, c) - result.At(r, c)))];
    }
    return {image, top};
}

ComparedFigures MeasureComparedPicture(const DocumentPictures& pictures, ComparedPicture picture) {
    if (!pictures.Loaded() || !Available(pictures, picture))
        return {};
    ComparedFigures figures;
    const GrayPicture* measured = nullptr;
    if (const ModeResult* mode = ModeResultOf(pictures, picture)) {
        measured = &mode->picture;
        figures.fileBitrate = mode->fileBitrate;
    } else if (picture == ComparedPicture::Blocks) {
        measured = &pictures.BlockPicture();
    } else if (picture == ComparedPicture::Approximation || picture == ComparedPicture::CutLines ||
               picture == ComparedPicture::Error) {
        // The error before the search is the block picture's, which has no file.
        measured = &pictures.Result();
        if (const DecodedFile* decoded = pictures.Decoded()) {
            figures.fileBitrate = decoded->fileBitrate;
        } else if (pictures.Decomposed()) {
            // The decomposition is its mode's latest result.
            const PictureStages& stages = *pictures.Stages();
            figures.fileBitrate =
                (pictures.Optimised() ? stages.optimisedResult : stages.exactResult).fileBitrate;
        }
    }
    if (measured && Has(pictures.Gray()))
        figures.psnr = Psnr(pictures.Gray(), *measured);
    return figures;
}

}  // namespace zantrel
