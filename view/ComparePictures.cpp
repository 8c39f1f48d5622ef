#include "view/ComparePictures.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "view/ColorMap.h"
#include "view/DisplayPicture.h"

namespace zantrel {

namespace {

bool Has(const GrayPicture& picture) {
    return !picture.samples.empty();
}

// Each mode's latest approximation, offered once both modes have one.
const GrayPicture* ModeResult(const DocumentPictures& pictures, ComparedPicture picture) {
    const PictureStages* stages = pictures.Stages();
    if (!stages || !Has(stages->exactResult) || !Has(stages->optimisedResult))
        return nullptr;
    return picture == ComparedPicture::ExactApproximation ? &stages->exactResult
                                                          : &stages->optimisedResult;
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
            return pictures.Decomposed() && Has(result);
        case ComparedPicture::CutLines:
            return pictures.Decomposed() && Has(pictures.Grid());
        case ComparedPicture::Error:
            return Has(gray) && gray.width == result.width && gray.height == result.height;
        case ComparedPicture::ExactApproximation:
        case ComparedPicture::OptimisedApproximation:
            return ModeResult(pictures, picture) != nullptr;
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
            return {GrayImage(*ModeResult(pictures, picture)), std::nullopt};
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

}  // namespace zantrel
