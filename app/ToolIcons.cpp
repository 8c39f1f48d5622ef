#include "app/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "app/CommandTable.h"

namespace zantrel {

namespace {

constexpr QSize kButtonSize(16, 15);
constexpr qreal kScales[] = {1.0, 2.0, 3.0};

const QColor kInk(40, 40, 40);
const QColor kCutRed(220, 0, 0);

using Painting = void (*)(QPainter& p);

// A frame of a small picture: a square of 13 x 13 at (1, 1).
void PictureFrame(QPainter& p, const QColor& fill) {
    p.fillRect(QRectF(1, 1, 13, 13), fill);
    p.setPen(QPen(kInk, 1));
    p.drawRect(QRectF(1.5, 1.5, 12, 12));
}

// The quadtree's cells: one half split into quarters.
void QuadtreeLines(QPainter& p, const QColor& ink) {
    p.setPen(QPen(ink, 1));
    p.drawLine(QPointF(7.5, 2), QPointF(7.5, 13));
    p.drawLine(QPointF(2, 7.5), QPointF(13, 7.5));
    p.drawLine(QPointF(4.5, 2), QPointF(4.5, 7));
    p.drawLine(QPointF(2, 4.5), QPointF(7, 4.5));
}

void DrawOpen(QPainter& p) {
    // An open folder.
    p.setPen(QPen(QColor(120, 90, 20), 1));
    p.setBrush(QColor(240, 200, 80));
    p.drawPolygon(
        QPolygonF({{1.5, 3.5}, {5.5, 3.5}, {6.5, 4.5}, {12.5, 4.5}, {12.5, 12.5}, {1.5, 12.5}}));
    p.setBrush(QColor(255, 225, 120));
    p.drawPolygon(QPolygonF({{3.5, 7.5}, {15.5, 7.5}, {12.5, 12.5}, {1.5, 12.5}}));
}

void DrawSave(QPainter& p) {
    // A diskette.
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(60, 90, 170));
    p.drawRect(QRectF(1.5, 1.5, 12, 12));
    p.fillRect(QRectF(4, 2, 7, 4), Qt::white);
    p.fillRect(QRectF(8, 3, 2, 2), kInk);
    p.fillRect(QRectF(4, 9, 7, 4), QColor(210, 210, 210));
}

void DrawColor(QPainter& p) {
    PictureFrame(p, QColor(120, 180, 240));
    p.fillRect(QRectF(2, 9, 11, 4), QColor(60, 160, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 80, 40));
    p.drawEllipse(QRectF(8, 3, 4, 4));
}

void DrawGray(QPainter& p) {
    PictureFrame(p, Qt::white);
    // A ramp from dark to light.
    for (int i = 0; i < 4; ++i) {
        const int v = 40 + 60 * i;
        p.fillRect(QRectF(2 + 2.75 * i, 2, 2.75, 11), QColor(v, v, v));
    }
}

void DrawQuadtree(QPainter& p) {
    PictureFrame(p, Qt::white);
    QuadtreeLines(p, kInk);
}

void DrawGrayGrid(QPainter& p) {
    PictureFrame(p, Qt::white);
    p.fillRect(QRectF(2, 2, 5.5, 5.5), QColor(90, 90, 90));
    p.fillRect(QRectF(8, 2, 5, 5.5), QColor(170, 170, 170));
    p.fillRect(QRectF(2, 8, 5.5, 5), QColor(200, 200, 200));
    p.fillRect(QRectF(8, 8, 5, 5), QColor(130, 130, 130));
    QuadtreeLines(p, Qt::white);
}

void DrawZantrel(QPainter& p) {
    // A block cut by an oblique line into a dark and a light region.
    PictureFrame(p, QColor(200, 200, 200));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(80, 80, 80));
    p.drawPolygon(QPolygonF({{2, 13}, {2, 6}, {13, 2}, {13, 13}}));
}

void DrawGridLines(QPainter& p) {
    PictureFrame(p, Qt::white);
    QuadtreeLines(p, QColor(128, 128, 128));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kCutRed, 1.5));
    p.drawLine(QPointF(8, 13), QPointF(13, 8));
    p.drawLine(QPointF(2, 3), QPointF(7, 6));
}

void DrawPsnr(QPainter& p) {
    // A dial with its needle: the figure of merit of the picture.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(255, 250, 220));
    QPainterPath dial;
    dial.moveTo(1.5, 12.5);
    dial.arcTo(QRectF(1.5, 2.5, 13, 20), 180, -180);
    dial.closeSubpath();
    p.drawPath(dial);
    p.setPen(QPen(kCutRed, 1.5));
    p.drawLine(QPointF(8, 12), QPointF(12, 5));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(8, 12), 1.5, 1.5);
}

void DrawBitRate(QPainter& p) {
    // Two rows of bits.
    p.setPen(Qt::NoPen);
    const bool bits[2][4] = {{true, false, true, true}, {false, true, true, false}};
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 4; ++col) {
            const QRectF cell(1 + 3.75 * col, 2 + 6 * row, 2.75, 5);
            if (bits[row][col]) {
                p.fillRect(cell, QColor(30, 110, 60));
            } else {
                p.setPen(QPen(QColor(30, 110, 60), 1));
                p.setBrush(Qt::NoBrush);
                p.drawRect(cell.adjusted(0.5, 0.5, -0.5, -0.5));
                p.setPen(Qt::NoPen);
            }
        }
    }
}

void DrawApp(QPainter& p) {
    // Drawn on a 16 x 16 grid and scaled by the caller.
    p.fillRect(QRectF(0, 0, 16, 16), QColor(150, 150, 150));
    p.fillRect(QRectF(0, 0, 8, 8), QColor(70, 70, 70));
    p.fillRect(QRectF(8, 8, 8, 8), QColor(210, 210, 210));
    p.fillRect(QRectF(8, 0, 4, 4), QColor(110, 110, 110));
    p.setPen(QPen(Qt::white, 0.6));
    p.drawLine(QPointF(8, 0), QPointF(8, 16));
    p.drawLine(QPointF(0, 8), QPointF(16, 8));
    p.drawLine(QPointF(12, 0), QPointF(12, 8));
    p.drawLine(QPointF(8, 4), QPointF(16, 4));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(230, 0, 0), 1.4));
    p.drawLine(QPointF(1, 15), QPointF(15, 1));
}

Painting PaintingOf(int commandId) {
    switch (commandId) {
        case ID_OPEN_PICTURE:
            return DrawOpen;
        case ID_SAVE_PICTURE:
            return DrawSave;
        case ID_PICTURE_COLOR:
            return DrawColor;
        case ID_PICTURE_GRAY:
            return DrawGray;
        case ID_QUADTREE:
            return DrawQuadtree;
        case ID_GRAY_GRID:
            return DrawGrayGrid;
        case ID_ZANTREL:
            return DrawZantrel;
        case ID_GRID_LINES:
            return DrawGridLines;
        case ID_PSNR:
            return DrawPsnr;
        case ID_BIT_RATE:
            return DrawBitRate;
        default:
            return nullptr;
    }
}

QPixmap Render(Painting painting, QSize logicalSize, qreal scale, qreal gridScale) {
    QPixmap pixmap(logicalSize * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.scale(gridScale, gridScale);
    painting(p);
    return pixmap;
}

}  // namespace

QIcon ToolIcon(int commandId) {
    const Painting painting = PaintingOf(commandId);
    if (!painting)
        return {};
    QIcon icon;
    for (qreal scale : kScales)
        icon.addPixmap(Render(painting, kButtonSize, scale, 1.0));
    return icon;
}

QIcon AppIcon() {
    QIcon icon;
    for (int side : {16, 32, 48, 64, 128})
        icon.addPixmap(Render(DrawApp, QSize(side, side), 1.0, side / 16.0));
    return icon;
}

}  // namespace zantrel
