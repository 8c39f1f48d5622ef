#include "view/ZantrelView.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStatusTipEvent>
#include <algorithm>

#include "linesearch/CutLineOverlay.h"
#include "view/DialogHost.h"
#include "view/DisplayPicture.h"
#include "view/PicturePrint.h"

namespace {

const QColor kCutLineColor(255, 0, 0);

bool ShowsBlocks(DisplayMode mode) {
    return mode >= DISPLAY_QUADTREE && mode <= DISPLAY_GRID_LINES;
}

}  // namespace

CZantrelView::CZantrelView(CDialogHost& host, const DocumentPictures& pictures, QWidget* parent)
    : CPictureCanvas(parent), m_host(host), m_pictures(pictures) {
    connect(this, &CPictureCanvas::PixelHovered, this, &CZantrelView::ShowBlockAt);
}

void CZantrelView::ShowMode(DisplayMode mode) {
    m_displayMode = mode;
    UpdateAllViews();
}

DisplayMode CZantrelView::ShownMode() const {
    return m_grayHeld ? DISPLAY_GRAY : m_displayMode;
}

void CZantrelView::UpdateAllViews() {
    m_blocksStale = true;
    Refresh();
    Q_EMIT PicturesChanged();
}

void CZantrelView::Refresh() {
    // Built once per change rather than on every paint: a large picture costs a full copy.
    QImage shown = ShownPicture(m_pictures, ShownMode());
    m_outsidePixels.clear();
    if (!shown.isNull() && ShownMode() == DISPLAY_GRID_LINES) {
        // A cut line ending on the picture's top or right edge reaches one pixel past it;
        // that pixel is drawn beside the picture.
        const QRect inside = shown.rect();
        for (const QuadBlock& leaf : m_pictures.decomposition.tree.leaves) {
            if (!leaf.Cut())
                continue;
            ScreenPoint from{};
            ScreenPoint to{};
            CutLineEnds(leaf, shown.height(), from, to);
            ForEachLinePixel(from, to, [&](int x, int y) {
                if (!inside.contains(x, y))
                    m_outsidePixels.emplace_back(x, y);
            });
        }
    }
    SetImage(std::move(shown));
}

void CZantrelView::OnDraw(QPainter& painter) {
    DrawPicture(painter, QRect(m_origin, ZoomedSize()));
    DrawOver(painter);
}

void CZantrelView::DrawOver(QPainter& painter) const {
    for (const QPoint pixel : m_outsidePixels)
        painter.fillRect(PixelSquare(pixel), kCutLineColor);
}

void CZantrelView::ShowBlockAt(QPoint pixel) {
    QString text;
    if (pixel.x() >= 0 && ShowsBlocks(m_displayMode)) {
        if (m_blocksStale) {
            m_blocks.Build(m_pictures);
            m_blocksStale = false;
        }
        // The engine counts rows from the bottom.
        text = m_blocks.Describe(Image().height() - 1 - pixel.y(), pixel.x());
    }
    if (text == m_hoverText)
        return;
    m_hoverText = text;
    // Shown like a menu prompt: over pane 0 while it lasts, the pane's text back after it.
    QStatusTipEvent tip(text);
    QCoreApplication::sendEvent(this, &tip);
}

void CZantrelView::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space) {
        CPictureCanvas::keyPressEvent(event);
        return;
    }
    event->accept();
    if (event->isAutoRepeat() || m_grayHeld || m_pictures.gray.samples.empty())
        return;
    m_grayHeld = true;
    Refresh();
}

void CZantrelView::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space) {
        CPictureCanvas::keyReleaseEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat())
        ReleaseGray();
}

void CZantrelView::focusOutEvent(QFocusEvent* event) {
    // The release would go to another widget.
    ReleaseGray();
    CPictureCanvas::focusOutEvent(event);
}

void CZantrelView::ReleaseGray() {
    if (!m_grayHeld)
        return;
    m_grayHeld = false;
    Refresh();
}

void CZantrelView::OnFilePrint() {
    PrintPicture(m_host, ShownPicture(m_pictures, m_displayMode));
}
