#include "app/RateCurveWidget.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace zantrel {

namespace {

constexpr double kReach = 8.0;  // pixels from a point that still choose it
constexpr int kLeftMargin = 46;
constexpr int kRightMargin = 12;
constexpr int kTopMargin = 10;
constexpr int kBottomMargin = 40;
const QColor kCurveColor(40, 90, 170);
const QColor kCurrentColor(220, 30, 30);

// A tick step of 1, 2 or 5 times a power of ten giving about `ticks` ticks over `span`.
double NiceStep(double span, int ticks) {
    const double rough = span / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough)
            return factor * power;
    }
    return 10.0 * power;
}

bool Drawable(const CurvePoint& point) {
    return std::isfinite(point.bitrate) && std::isfinite(point.psnr);
}

QString PointText(const CurvePoint& point) {
    return QCoreApplication::translate("zantrel::RateCurveWidget",
                                       "惩罚因子 %1：%2 dB，%3 比特/像素")
        .arg(point.penalty, 0, 'g', 6)
        .arg(point.psnr, 0, 'f', 2)
        .arg(point.bitrate, 0, 'f', 4);
}

}  // namespace

RateCurveWidget::RateCurveWidget(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize RateCurveWidget::sizeHint() const {
    return {300, 240};
}

QSize RateCurveWidget::minimumSizeHint() const {
    return {200, 160};
}

void RateCurveWidget::SetCurve(std::vector<CurvePoint> points) {
    std::ranges::sort(points, {}, &CurvePoint::bitrate);
    m_points = std::move(points);
    UpdateRanges();
    update();
}

void RateCurveWidget::SetComputing(bool computing) {
    if (computing == m_computing)
        return;
    m_computing = computing;
    update();
}

void RateCurveWidget::SetCurrent(std::optional<CurvePoint> current) {
    m_current = current;
    UpdateRanges();
    update();
}

void RateCurveWidget::UpdateRanges() {
    std::vector<CurvePoint> shown;
    std::ranges::copy_if(m_points, std::back_inserter(shown), Drawable);
    if (m_current && Drawable(*m_current))
        shown.push_back(*m_current);
    if (shown.empty())
        return;
    double rateHigh = 0.0;
    double psnrLow = shown.front().psnr;
    double psnrHigh = psnrLow;
    for (const CurvePoint& point : shown) {
        rateHigh = std::max(rateHigh, point.bitrate);
        psnrLow = std::min(psnrLow, point.psnr);
        psnrHigh = std::max(psnrHigh, point.psnr);
    }
    const double rateStep = NiceStep(std::max(rateHigh, 1e-3), 4);
    m_rate = {0.0, std::ceil(rateHigh / rateStep) * rateStep, rateStep};
    if (m_rate.high <= rateHigh)
        m_rate.high += rateStep;
    const double psnrStep = NiceStep(std::max(psnrHigh - psnrLow, 1.0), 4);
    m_psnr = {std::floor(psnrLow / psnrStep) * psnrStep, std::ceil(psnrHigh / psnrStep) * psnrStep,
              psnrStep};
    if (m_psnr.high <= m_psnr.low)
        m_psnr.high = m_psnr.low + psnrStep;
}

QRectF RateCurveWidget::PlotArea() const {
    return QRectF(kLeftMargin, kTopMargin, std::max(1, width() - kLeftMargin - kRightMargin),
                  std::max(1, height() - kTopMargin - kBottomMargin));
}

QPointF RateCurveWidget::Position(const CurvePoint& point) const {
    const QRectF area = PlotArea();
    const double x = (point.bitrate - m_rate.low) / (m_rate.high - m_rate.low);
    const double y = (point.psnr - m_psnr.low) / (m_psnr.high - m_psnr.low);
    return {area.left() + x * area.width(), area.bottom() - y * area.height()};
}

const CurvePoint* RateCurveWidget::PointAt(QPointF at) const {
    const CurvePoint* nearest = nullptr;
    double best = kReach * kReach;
    for (const CurvePoint& point : m_points) {
        if (!Drawable(point))
            continue;
        const QPointF d = Position(point) - at;
        const double distance = QPointF::dotProduct(d, d);
        if (distance <= best) {
            best = distance;
            nearest = &point;
        }
    }
    return nearest;
}

void RateCurveWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    const QRectF area = PlotArea();
    const QColor text = palette().color(QPalette::Text);
    const QColor grid = palette().color(QPalette::Mid);

    if (m_points.empty()) {
        painter.setPen(text);
        painter.drawText(rect(), Qt::AlignCenter,
                         m_computing ? tr("正在计算率失真曲线…") : tr("没有率失真曲线"));
        return;
    }

    // Grid lines with their values, then the axes' names.
    const QFontMetrics metrics = painter.fontMetrics();
    painter.setPen(QPen(grid, 0, Qt::DotLine));
    for (double v = m_rate.low; v <= m_rate.high + m_rate.step / 2; v += m_rate.step) {
        const double x = Position({0, v, m_psnr.low}).x();
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        painter.save();
        painter.setPen(text);
        const QString label = QString::number(v, 'g', 3);
        painter.drawText(QPointF(x - metrics.horizontalAdvance(label) / 2.0,
                                 area.bottom() + metrics.ascent() + 3),
                         label);
        painter.restore();
    }
    for (double v = m_psnr.low; v <= m_psnr.high + m_psnr.step / 2; v += m_psnr.step) {
        const double y = Position({0, m_rate.low, v}).y();
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        painter.save();
        painter.setPen(text);
        const QString label = QString::number(v, 'g', 4);
        painter.drawText(
            QPointF(area.left() - metrics.horizontalAdvance(label) - 4, y + metrics.ascent() / 2.5),
            label);
        painter.restore();
    }
    painter.setPen(QPen(text, 0));
    painter.drawRect(area);
    painter.drawText(
        QRectF(area.left(), area.bottom() + metrics.height() + 2, area.width(), metrics.height()),
        Qt::AlignHCenter, tr("文件比特率（比特/像素）"));
    painter.drawText(QRectF(2, 0, kLeftMargin, kTopMargin + metrics.height()), Qt::AlignLeft,
                     QStringLiteral("dB"));

    // The curve through the ladder, its points, then the current result on top.
    QPainterPath path;
    for (const CurvePoint& point : m_points) {
        if (!Drawable(point))
            continue;
        if (path.elementCount() == 0)
            path.moveTo(Position(point));
        else
            path.lineTo(Position(point));
    }
    painter.setPen(QPen(kCurveColor, 1.5));
    painter.drawPath(path);
    painter.setBrush(palette().color(QPalette::Base));
    for (const CurvePoint& point : m_points) {
        if (Drawable(point))
            painter.drawEllipse(Position(point), 3.5, 3.5);
    }
    if (m_current && Drawable(*m_current)) {
        painter.setPen(QPen(kCurrentColor.darker(130), 1));
        painter.setBrush(kCurrentColor);
        painter.drawEllipse(Position(*m_current), 5.5, 5.5);
    }
}

void RateCurveWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    if (const CurvePoint* point = PointAt(event->position()))
        Q_EMIT PenaltyChosen(point->penalty);
}

void RateCurveWidget::mouseMoveEvent(QMouseEvent* event) {
    setCursor(PointAt(event->position()) ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

bool RateCurveWidget::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (const CurvePoint* point = PointAt(help->pos()))
            QToolTip::showText(help->globalPos(), PointText(*point), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

}  // namespace zantrel
