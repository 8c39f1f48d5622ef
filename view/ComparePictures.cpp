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

bool Available(const DocumentPictures& pictures, ComparedPicture picture) {
    const bool decomposed = !pictures.decomposition.tree.leaves.empty();
    switch (picture) {
        case ComparedPicture::Color:
            return pictures.color.PixelCount() > 0;
        case ComparedPicture::Gray:
            return Has(pictures.gray);
        case ComparedPicture::Blocks:
            return Has(pictures.quadtree.blockPicture);
        case ComparedPicture::GrayGrid:
            return Has(pictures.grayGrid);
        case ComparedPicture::Approximation:
            return decomposed && Has(pictures.result);
        case ComparedPicture::CutLines:
            return decomposed && Has(pictures.quadtree.grid);
        case ComparedPicture::Error:
            return Has(pictures.gray) && pictures.gray.width == pictures.result.width &&
                   pictures.gray.height == pictures.result.height;
    }
    return false;
}

constexpr ComparedPicture kOrder[] = {
    ComparedPicture::Color,    ComparedPicture::Gray,          ComparedPicture::Blocks,
    ComparedPicture::GrayGrid, ComparedPicture::Approximation, ComparedPicture::CutLines,
    ComparedPicture::Error,
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
    }
    return "";
}

std::vector<ComparedPicture> AvailableComparedPictures(const DocumentPictures& pictures) {
    std::vector<ComparedPicture> available;
    for (const ComparedPicture picture : kOrder) {
        if (pictures.loaded && Available(pictures, picture))
            available.push_back(picture);
    }
    return available;
}

ComparedImage MakeComparedImage(const DocumentPictures& pictures, ComparedPicture picture) {
    if (!pictures.loaded || !Available(pictures, picture))
        return {};
    switch (picture) {
        case ComparedPicture::Color:
            return {DisplayPicture(pictures, DISPLAY_COLOR), std::nullopt};
        case ComparedPicture::Gray:
            return {GrayImage(pictures.gray), std::nullopt};
        case ComparedPicture::Blocks:
            return {GrayImage(pictures.quadtree.blockPicture), std::nullopt};
        case ComparedPicture::GrayGrid:
            return {GrayImage(pictures.grayGrid), std::nullopt};
        case ComparedPicture::Approximation:
            return {GrayImage(pictures.result), std::nullopt};
        case ComparedPicture::CutLines:
            return {ShownPicture(pictures, DISPLAY_GRID_LINES), std::nullopt};
        case ComparedPicture::Error:
            return MakeErrorImage(pictures.gray, pictures.result);
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
