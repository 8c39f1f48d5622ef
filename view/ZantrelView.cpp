#include "view/ZantrelView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <vector>

#include "linesearch/CutLineOverlay.h"
#include "picture/PictureStore.h"
#include "quadtree/BlockLists.h"
#include "view/DisplayPicture.h"

namespace {

// The scroll extent: the picture plus a margin of 20.
constexpr int kExtent = kPictureSide + 20;
constexpr int kTopMargin = 10;
constexpr int kLineStep = 10;
const QColor kCutLineColor(255, 0, 0);

// The cut lines of g_cutModels in red, each without its end point: the same pixels as the
// engine's picture of the cut lines, placed at the origin.
void DrawCutLines(QPainter& painter) {
    std::vector<QPoint> pixels;
    for (const CutModel& model : g_cutModels) {
        ScreenPoint from{};
        ScreenPoint to{};
        CutLineEnds(model, from, to);
        ForEachLinePixel(from, to,
                         [&](int x, int y) { pixels.emplace_back(g_originX + x, g_originY + y); });
    }
    painter.setPen(QPen(kCutLineColor, 0));
    painter.drawPoints(pixels.data(), static_cast<int>(pixels.size()));
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
