#include "view/DisplayPicture.h"

#include <QRect>
#include <cstring>

#include "linesearch/CutLineOverlay.h"

namespace zantrel {

namespace {

const GrayPicture* GraySource(const DocumentPictures& pictures, DisplayMode mode) {
    switch (mode) {
        case DISPLAY_GRAY:
            return &pictures.Gray();
        case DISPLAY_QUADTREE:
        case DISPLAY_ZANTREL:
            return &pictures.Result();
        case DISPLAY_GRAY_GRID:
            return &pictures.GrayGrid();
        case DISPLAY_GRID_LINES:
            return &pictures.Grid();
        default:
            return nullptr;
    }
}

}  // namespace

QImage GrayImage(const GrayPicture& picture) {
    QImage image(picture.width, picture.height, QImage::Format_Grayscale8);
    for (int r = 0; r < picture.height; ++r) {
        std::memcpy(image.scanLine(picture.height - 1 - r), &picture.samples[picture.Index(r, 0)],
                    static_cast<std::size_t>(picture.width));
    }
    return image;
}

QImage DisplayPicture(const DocumentPictures& pictures, DisplayMode mode) {
    if (!pictures.Loaded())
        return {};
    // The pictures keep the bottom row first; the image wants the top row first.
    if (mode == DISPLAY_COLOR) {
        const ColorPicture& color = pictures.Color();
        QImage image(color.width, color.height, QImage::Format_BGR888);
        const std::size_t rowBytes = static_cast<std::size_t>(color.width) * 3;
        for (int r = 0; r < color.height; ++r)
            std::memcpy(image.scanLine(color.height - 1 - r), color.Pixel(r, 0), rowBytes);
        return image;
    }
    const GrayPicture* source = GraySource(pictures, mode);
    if (!source) {
        const ColorPicture& color = pictures.Color();
        QImage image(color.width, color.height, QImage::Format_Grayscale8);
        image.fill(255);
        return image;
    }
    if (source->samples.empty())
        return {};
    return GrayImage(*source);
}

QImage ShownPicture(const DocumentPictures& pictures, DisplayMode mode) {
    const GrayPicture& grid = pictures.Grid();
    if (mode != DISPLAY_GRID_LINES || !pictures.Loaded() || grid.samples.empty())
        return DisplayPicture(pictures, mode);
    const ColorPicture lines = GridWithCutLines(grid, pictures.Tree());
    QImage image(lines.width, lines.height, QImage::Format_BGR888);
    for (int r = 0; r < lines.height; ++r) {
        std::memcpy(image.scanLine(lines.height - 1 - r), lines.Pixel(r, 0),
                    static_cast<std::size_t>(lines.width) * 3);
    }
    return image;
}

QSize DisplaySize(const DocumentPictures& pictures, DisplayMode mode) {
    if (!pictures.Loaded())
        return {kClassicSide, kClassicSide};
    const GrayPicture* source = GraySource(pictures, mode);
    if (source && !source->samples.empty())
        return {source->width, source->height};
    return {pictures.Color().width, pictures.Color().height};
}

std::vector<QPoint> CutLinePixelsOutside(const DocumentPictures& pictures, QSize size) {
    std::vector<QPoint> outside;
    const QRect inside(QPoint(0, 0), size);
    for (const QuadBlock& leaf : pictures.Tree().leaves) {
        if (!leaf.Line())
            continue;
        ScreenPoint from{};
        ScreenPoint to{};
        CutLineEnds(leaf, size.height(), from, to);
        ForEachLinePixel(from, to, [&](int x, int y) {
            if (!inside.contains(x, y))
                outside.emplace_back(x, y);
        });
    }
    return outside;
}

}  // namespace zantrel
