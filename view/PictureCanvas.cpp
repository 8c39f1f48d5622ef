#include "view/PictureCanvas.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace zantrel {

namespace {

constexpr int kMargin = 10;
constexpr int kLineStep = 10;
constexpr int kWheelNotch = 120;  // one notch of a mouse wheel, in eighths of a degree
const QPoint kNoPixel(-1, -1);

double Scale(int step) {
    return std::ldexp(1.0, step);
}

// The length of `pixels` picture pixels on the screen at zoom `step`; below 1 a partial
// last pixel is shown whole.
int Zoomed(int pixels, int step) {
    if (step >= 0)
        return pixels << step;
    return (pixels + (1 << -step) - 1) >> -step;
}

}  // namespace

PictureCanvas::PictureCanvas(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    horizontalScrollBar()->setSingleStep(kLineStep);
    verticalScrollBar()->setSingleStep(kLineStep);
}

void PictureCanvas::SetImage(QImage image) {
    m_image = std::move(image);
    ReduceImage();
    Layout();
    viewport()->update();
}

QSize PictureCanvas::ZoomedSize() const {
    if (m_image.isNull())
        return {0, 0};
    return {Zoomed(m_image.width(), m_zoomStep), Zoomed(m_image.height(), m_zoomStep)};
}

QPoint PictureCanvas::ScrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

std::optional<QPoint> PictureCanvas::PixelAt(QPoint point) const {
    const QPoint inPicture = point + ScrollPosition() - m_origin;
    if (!QRect(QPoint(0, 0), ZoomedSize()).contains(inPicture))
        return std::nullopt;
    if (m_zoomStep >= 0)
        return QPoint(inPicture.x() >> m_zoomStep, inPicture.y() >> m_zoomStep);
    return QPoint(inPicture.x() << -m_zoomStep, inPicture.y() << -m_zoomStep);
}

void PictureCanvas::SetZoomStep(int step, std::optional<QPoint> anchor) {
    step = std::clamp(step, kMinZoomStep, kMaxZoomStep);
    if (step == m_zoomStep)
        return;
    const QPoint at = anchor.value_or(viewport()->rect().center());
    const QPointF point = QPointF(at + ScrollPosition() - m_origin) / Scale(m_zoomStep);
    m_zoomStep = step;
    ReduceImage();
    Layout();
    // Rounded down, so that at zooms of 1 and more the pixel under the anchor stays the same.
    const QPointF scroll = QPointF(m_origin) + point * Scale(step) - QPointF(at);
    horizontalScrollBar()->setValue(static_cast<int>(std::floor(scroll.x())));
    verticalScrollBar()->setValue(static_cast<int>(std::floor(scroll.y())));
    viewport()->update();
    Q_EMIT ViewChanged();
}

void PictureCanvas::FitToWindow() {
    if (m_image.isNull())
        return;
    // The client area without scroll bars: at the chosen zoom none is needed.
    const QSize client = maximumViewportSize();
    int step = kMaxZoomStep;
    while (step > kMinZoomStep && (Zoomed(m_image.width(), step) > client.width() ||
                                   Zoomed(m_image.height(), step) + 2 * kMargin > client.height()))
        --step;
    SetZoomStep(step);
}

void PictureCanvas::ShowFromStart() {
    ActualSize();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void PictureCanvas::Follow(const PictureCanvas& other) {
    if (m_zoomStep != other.m_zoomStep) {
        m_zoomStep = other.m_zoomStep;
        ReduceImage();
        Layout();
    }
    horizontalScrollBar()->setValue(other.horizontalScrollBar()->value());
    verticalScrollBar()->setValue(other.verticalScrollBar()->value());
    viewport()->update();
}

void PictureCanvas::ReduceImage() {
    m_reduced = QImage();
    if (m_zoomStep >= 0 || m_image.isNull())
        return;
    const int every = 1 << -m_zoomStep;
    const QSize size = ZoomedSize();
    m_reduced = QImage(size, m_image.format());
    const std::size_t bytes = static_cast<std::size_t>(m_image.depth() / 8);
    for (int y = 0; y < size.height(); ++y) {
        const uchar* from = m_image.constScanLine(y * every);
        uchar* to = m_reduced.scanLine(y);
        for (int x = 0; x < size.width(); ++x)
            std::memcpy(to + x * bytes, from + static_cast<std::size_t>(x) * every * bytes, bytes);
    }
}

void PictureCanvas::Layout() {
    // Showing or hiding a scroll bar resizes the viewport, which calls back here; the loop
    // settles on the final client area instead.
    if (m_inLayout)
        return;
    m_inLayout = true;
    const QSize zoomed = ZoomedSize();
    QSize client;
    for (int pass = 0; pass < 3 && client != viewport()->size(); ++pass) {
        client = viewport()->size();
        int rangeX = 0;
        if (zoomed.width() <= client.width()) {
            m_origin.setX((client.width() - zoomed.width()) / 2);
        } else {
            m_origin.setX(kMargin);
            rangeX = zoomed.width() + 2 * kMargin - client.width();
        }
        m_origin.setY(kMargin);
        horizontalScrollBar()->setRange(0, rangeX);
        horizontalScrollBar()->setPageStep(client.width());
        verticalScrollBar()->setRange(0,
                                      std::max(0, zoomed.height() + 2 * kMargin - client.height()));
        verticalScrollBar()->setPageStep(client.height());
    }
    m_inLayout = false;
}

void PictureCanvas::DrawPicture(QPainter& painter, const QRect& area) const {
    const QRect shown = area & QRect(m_origin, ZoomedSize());
    if (shown.isEmpty())
        return;
    const QRect inPicture = shown.translated(-m_origin);
    if (m_zoomStep <= 0) {
        painter.drawImage(shown.topLeft(), m_zoomStep < 0 ? m_reduced : m_image, inPicture);
        return;
    }
    // Whole picture pixels, each drawn as a square of 2^step screen pixels.
    const int step = m_zoomStep;
    const QRect source(QPoint(inPicture.left() >> step, inPicture.top() >> step),
                       QPoint(inPicture.right() >> step, inPicture.bottom() >> step));
    const QRect target(m_origin + QPoint(source.left() << step, source.top() << step),
                       QSize(source.width() << step, source.height() << step));
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, m_image, source);
    painter.restore();
}

void PictureCanvas::DrawOver(QPainter&) const {}

QRect PictureCanvas::PixelSquare(QPoint pixel) const {
    if (m_zoomStep >= 0) {
        const int side = 1 << m_zoomStep;
        return {m_origin + pixel * side, QSize(side, side)};
    }
    return {m_origin + QPoint(pixel.x() >> -m_zoomStep, pixel.y() >> -m_zoomStep), QSize(1, 1)};
}

bool PictureCanvas::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Resize)
        Layout();
    else if (event->type() == QEvent::Leave)
        Q_EMIT PixelHovered(kNoPixel);
    return QAbstractScrollArea::viewportEvent(event);
}

void PictureCanvas::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    const QPoint scroll = ScrollPosition();
    painter.translate(-scroll);
    DrawPicture(painter, event->rect().translated(scroll));
    DrawOver(painter);
}

void PictureCanvas::scrollContentsBy(int, int) {
    viewport()->update();
    Q_EMIT ViewChanged();
}

void PictureCanvas::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    event->accept();
    m_wheelAngle += event->angleDelta().y();
    const int steps = m_wheelAngle / kWheelNotch;
    if (steps == 0)
        return;
    m_wheelAngle -= steps * kWheelNotch;
    SetZoomStep(m_zoomStep + steps, event->position().toPoint());
}

void PictureCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::MiddleButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    m_dragStart = event->position().toPoint();
    m_dragScroll = ScrollPosition();
    viewport()->setCursor(Qt::ClosedHandCursor);
    event->accept();
}

void PictureCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (m_dragStart) {
        const QPoint scroll = m_dragScroll - (at - *m_dragStart);
        horizontalScrollBar()->setValue(scroll.x());
        verticalScrollBar()->setValue(scroll.y());
    }
    Q_EMIT PixelHovered(PixelAt(at).value_or(kNoPixel));
    event->accept();
}

void PictureCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::MiddleButton || !m_dragStart) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    m_dragStart.reset();
    viewport()->unsetCursor();
    event->accept();
}

}  // namespace zantrel
