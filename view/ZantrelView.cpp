#include "view/ZantrelView.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "view/DialogHost.h"
#include "view/DisplayPicture.h"
#include "view/PicturePrint.h"

namespace zantrel {

namespace {

const QColor kCutLineColor(255, 0, 0);

bool ShowsBlocks(DisplayMode mode) {
    return mode >= DISPLAY_QUADTREE && mode <= DISPLAY_GRID_LINES;
}

}  // namespace

ZantrelView::ZantrelView(DialogHost& host, const DocumentPictures& pictures, QWidget* parent)
    : PictureCanvas(parent), m_host(host), m_pictures(pictures) {
    connect(this, &PictureCanvas::PixelHovered, this, &ZantrelView::ShowBlockAt);
}

void ZantrelView::ShowMode(DisplayMode mode) {
    m_displayMode = mode;
    UpdateAllViews();
}

DisplayMode ZantrelView::ShownMode() const {
    return m_grayHeld ? DISPLAY_GRAY : m_displayMode;
}

void ZantrelView::UpdateAllViews() {
    m_blocksStale = true;
    // The block told belongs to the pictures before; the next move tells the new one.
    if (!m_hoverText.isEmpty()) {
        m_hoverText.clear();
        Q_EMIT HoverTextChanged(m_hoverText);
    }
    Refresh();
    Q_EMIT PicturesChanged();
}

void ZantrelView::Refresh() {
    // Built once per change rather than on every paint: a large picture costs a full copy.
    QImage shown = ShownPicture(m_pictures, ShownMode());
    m_outsidePixels.clear();
    if (!shown.isNull() && ShownMode() == DISPLAY_GRID_LINES)
        m_outsidePixels = CutLinePixelsOutside(m_pictures, shown.size());
    SetImage(std::move(shown));
}

void ZantrelView::OnDraw(QPainter& painter) {
    DrawPicture(painter, QRect(m_origin, ZoomedSize()));
    DrawOver(painter);
}

void ZantrelView::DrawOver(QPainter& painter) const {
    for (const QPoint pixel : m_outsidePixels)
        painter.fillRect(PixelSquare(pixel), kCutLineColor);
}

void ZantrelView::ShowBlockAt(QPoint pixel) {
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
    Q_EMIT HoverTextChanged(text);
}

void ZantrelView::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space) {
        PictureCanvas::keyPressEvent(event);
        return;
    }
    event->accept();
    if (event->isAutoRepeat() || m_grayHeld || m_pictures.Gray().samples.empty())
        return;
    m_grayHeld = true;
    Refresh();
}

void ZantrelView::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space) {
        PictureCanvas::keyReleaseEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat())
        ReleaseGray();
}

void ZantrelView::focusOutEvent(QFocusEvent* event) {
    // The release would go to another widget.
    ReleaseGray();
    PictureCanvas::focusOutEvent(event);
}

void ZantrelView::ReleaseGray() {
    if (!m_grayHeld)
        return;
    m_grayHeld = false;
    Refresh();
}

void ZantrelView::OnFilePrint(const QString& path) {
    PrintPicture(m_host, ShownPicture(m_pictures, m_displayMode), path);
}

}  // namespace zantrel
