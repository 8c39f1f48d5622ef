#include "view/ZantrelView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <cmath>

#include "picture/PictureStore.h"
#include "quadtree/BlockLists.h"
#include "view/DisplayPicture.h"
#include "view/LinePixels.h"

namespace {

// The scroll extent: the picture plus a margin of 20.
constexpr int kExtent = kPictureSide + 20;
constexpr int kTopMargin = 10;
constexpr int kLineStep = 10;
const QColor kCutLineColor(255, 0, 0);

// A cut line's end point on the view. Rows grow upwards in the store, so the y of an end
// point at row offset k is 512 - (row + k) below the picture's top.
QPoint CutLineEnd(const CutModel& model, double rowOffset, double colOffset) {
    const int x = g_originX + model.col + static_cast<int>(std::trunc(colOffset));
    const int y = g_originY + kPictureSide - (model.row + static_cast<int>(std::trunc(rowOffset)));
    return {x, y};
}

void DrawCutLines(QPainter& painter) {
    painter.setPen(QPen(kCutLineColor, 0));
    for (const CutModel& model : g_cutModels) {
        const std::vector<QPoint> pixels =
            LinePixelsWithoutEnd(CutLineEnd(model, model.p1Row, model.p1Col),
                                 CutLineEnd(model, model.p2Row, model.p2Col));
        painter.drawPoints(pixels.data(), static_cast<int>(pixels.size()));
    }
}

}  // namespace

CZantrelView::CZantrelView(CDialogHost& host, QWidget* parent)
    : QAbstractScrollArea(parent), m_host(host) {
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
}

void CZantrelView::OnDraw(QPainter& painter) {
    const QImage picture = DisplayPicture(g_displayMode);
    if (picture.isNull())
        return;
    painter.drawImage(QPoint(g_originX, g_originY), picture);
    if (g_displayMode == DISPLAY_GRID_LINES)
        DrawCutLines(painter);
}

void CZantrelView::UpdateAllViews() {
    viewport()->update();
}

bool CZantrelView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Resize)
        OnSize(viewport()->width(), viewport()->height());
    return QAbstractScrollArea::viewportEvent(event);
}

void CZantrelView::OnSize(int width, int height) {
    // Integer division truncates towards zero: a width of 300 gives -106.
    g_originX = (width - kPictureSide) / 2;
    g_originY = kTopMargin;
    horizontalScrollBar()->setRange(0, std::max(0, kExtent - width));
    horizontalScrollBar()->setPageStep(width);
    horizontalScrollBar()->setSingleStep(kLineStep);
    verticalScrollBar()->setRange(0, std::max(0, kExtent - height));
    verticalScrollBar()->setPageStep(height);
    verticalScrollBar()->setSingleStep(kLineStep);
}

void CZantrelView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    OnDraw(painter);
}

void CZantrelView::scrollContentsBy(int, int) {
    viewport()->update();
}
