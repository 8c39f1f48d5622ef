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

constexpr double kReach = 8.0;    // pixels from a point that still choose it
constexpr double kInset = 8.0;    // between the frame and the outermost points, wider than a point
constexpr double kGap = 4.0;      // between a label and the frame
constexpr double kSwatch = 18.0;  // the legend's sample of a line
const QColor kCurrentColor(220, 30, 30);

// Each mode keeps its colour whichever is shown.
QColor CurveColor(RunMode mode) {
    return mode == RunMode::Exact ? QColor(40, 90, 170) : QColor(20, 140, 90);
}

RunMode OtherMode(RunMode mode) {
    return mode == RunMode::Exact ? RunMode::Optimised : RunMode::Exact;
}

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

// The decimals that write every multiple of `step` without rounding two ticks to one text.
int DecimalsFor(double step) {
    return std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
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
    // Not much taller than the least: in a short panel the plot stays above the fold, and where
    // there is room it grows into it.
    return {300, 180};
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

void RateCurveWidget::SetMode(RunMode mode) {
    m_mode = mode;
    update();
}

void RateCurveWidget::SetOtherCurve(std::vector<CurvePoint> points) {
    std::ranges::sort(points, {}, &CurvePoint::bitrate);
    m_other = std::move(points);
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

int RateCurveWidget::Range::Ticks() const {
    return static_cast<int>(std::lround((high - low) / step)) + 1;
}

QString RateCurveWidget::Range::Text(int i) const {
    return QString::number(Tick(i), 'f', decimals);
}

void RateCurveWidget::UpdateRanges() {
    std::vector<CurvePoint> shown;
    std::ranges::copy_if(m_points, std::back_inserter(shown), Drawable);
    std::ranges::copy_if(m_other, std::back_inserter(shown), Drawable);
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
    m_rate = {0.0, std::ceil(rateHigh / rateStep) * rateStep, rateStep, DecimalsFor(rateStep)};
    if (m_rate.high <= rateHigh)
        m_rate.high += rateStep;
    const double psnrStep = NiceStep(std::max(psnrHigh - psnrLow, 1.0), 4);
    m_psnr = {std::floor(psnrLow / psnrStep) * psnrStep, std::ceil(psnrHigh / psnrStep) * psnrStep,
              psnrStep, DecimalsFor(psnrStep)};
    if (m_psnr.high <= m_psnr.low)
        m_psnr.high = m_psnr.low + psnrStep;
}

QMarginsF RateCurveWidget::Margins() const {
    const QFontMetricsF metrics(font());
    double widest = 0.0;
    for (int i = 0; i < m_psnr.Ticks(); ++i)
        widest = std::max(widest, metrics.horizontalAdvance(m_psnr.Text(i)));
    const double lastRate = metrics.horizontalAdvance(m_rate.Text(m_rate.Ticks() - 1));
    // Left: the PSNR labels; top: half a label above the highest tick and the PSNR's title;
    // right: half the last rate label; bottom: the rate labels and the rate's title.
    return {widest + kGap + 2, metrics.height() + 2, std::max(kGap, lastRate / 2 - kInset + kGap),
            2 * metrics.height() + 2 * kGap};
}

QRectF RateCurveWidget::PlotArea() const {
    const QMarginsF margins = Margins();
    const QRectF area = QRectF(rect()).marginsRemoved(margins);
    return {area.topLeft(), QSizeF(std::max(2 * kInset + 1, area.width()),
                                   std::max(2 * kInset + 1, area.height()))};
}

QPointF RateCurveWidget::Position(const CurvePoint& point) const {
    const QRectF area = PlotArea().adjusted(kInset, kInset, -kInset, -kInset);
    const double x = (point.bitrate - m_rate.low) / (m_rate.high - m_rate.low);
    const double y = (point.psnr - m_psnr.low) / (m_psnr.high - m_psnr.low);
    return {area.left() + x * area.width(), area.bottom() - y * area.height()};
}

std::vector<RateCurveWidget::AxisLabel> RateCurveWidget::Labels() const {
    const QFontMetricsF metrics(font());
    const QRectF area = PlotArea();
    std::vector<AxisLabel> labels;
    for (int i = 0; i < m_rate.Ticks(); ++i) {
        const QString text = m_rate.Text(i);
        const double x = Position({0, m_rate.Tick(i), m_psnr.low}).x();
        const double width = metrics.horizontalAdvance(text);
        labels.push_back(
            {text, QRectF(x - width / 2, area.bottom() + kGap, width, metrics.height())});
    }
    for (int i = 0; i < m_psnr.Ticks(); ++i) {
        const QString text = m_psnr.Text(i);
        const double y = Position({0, m_rate.low, m_psnr.Tick(i)}).y();
        const double width = metrics.horizontalAdvance(text);
        labels.push_back({text, QRectF(area.left() - kGap - width, y - metrics.height() / 2, width,
                                       metrics.height())});
    }
    return labels;
}

QString RateCurveWidget::Message() const {
    if (m_points.empty())
        return m_computing ? tr("正在计算率失真曲线…") : tr("没有率失真曲线");
    const auto drawable = std::ranges::find_if(m_points, Drawable);
    if (drawable == m_points.end())
        return tr("每个惩罚因子都完全重建了图像（PSNR 无穷大），没有可画的曲线");
    // Where the file's fixed part is all there is (one pixel), every penalty gives the same
    // file: one rate is no curve either.
    const double rate = drawable->bitrate;
    if (std::ranges::all_of(m_points, [rate](const CurvePoint& point) {
            return !Drawable(point) || point.bitrate == rate;
        }))
        return tr("每个惩罚因子都得到同样大小的文件（%1 比特/像素），没有可画的曲线")
            .arg(rate, 0, 'g', 4);
    return {};
}

QString RateCurveWidget::RateTitle() const {
    return tr("文件比特率（比特/像素）");
}

QString RateCurveWidget::PsnrTitle() const {
    return tr("PSNR（dB）");
}

std::vector<std::pair<RateCurveWidget::Entry, QString>> RateCurveWidget::Legend() const {
    std::vector<std::pair<Entry, QString>> lines{{Entry::Curve, RunModeName(m_mode)}};
    if (std::ranges::any_of(m_other, Drawable))
        lines.emplace_back(Entry::OtherCurve, RunModeName(OtherMode(m_mode)));
    if (m_current && Drawable(*m_current))
        lines.emplace_back(Entry::Current, tr("当前结果"));
    return lines;
}

QStringList RateCurveWidget::LegendTexts() const {
    QStringList texts;
    for (const auto& line : Legend())
        texts << line.second;
    return texts;
}

QSizeF RateCurveWidget::LegendSize() const {
    const QFontMetricsF metrics(font());
    double widest = 0.0;
    const QStringList texts = LegendTexts();
    for (const QString& text : texts)
        widest = std::max(widest, metrics.horizontalAdvance(text));
    return {widest + kSwatch + 3 * kGap,
            static_cast<double>(texts.size()) * metrics.height() + 2 * kGap};
}

QRectF RateCurveWidget::LegendArea() const {
    const QRectF area = PlotArea().adjusted(kGap, kGap, -kGap, -kGap);
    const QSizeF size = LegendSize();
    const QRectF lowerRight(area.bottomRight() - QPointF(size.width(), size.height()), size);
    // A point's ring reaches a few pixels beyond its centre.
    const QRectF covered = lowerRight.adjusted(-kInset, -kInset, kInset, kInset);
    const auto inside = [&](const CurvePoint& point) {
        return Drawable(point) && covered.contains(Position(point));
    };
    if (std::ranges::none_of(m_points, inside) && std::ranges::none_of(m_other, inside) &&
        !(m_current && inside(*m_current)))
        return lowerRight;
    return {area.topLeft(), size};
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

    if (const QString message = Message(); !message.isEmpty()) {
        painter.setPen(text);
        painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
                         message);
        return;
    }

    // Grid lines with their values, then the axes' names.
    const QFontMetricsF metrics(font());
    const std::vector<AxisLabel> labels = Labels();
    painter.setPen(QPen(grid, 0, Qt::DotLine));
    for (int i = 0; i < m_rate.Ticks(); ++i) {
        const double x = Position({0, m_rate.Tick(i), m_psnr.low}).x();
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    }
    for (int i = 0; i < m_psnr.Ticks(); ++i) {
        const double y = Position({0, m_rate.low, m_psnr.Tick(i)}).y();
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }
    painter.setPen(QPen(text, 0));
    for (const AxisLabel& label : labels)
        painter.drawText(label.rect, Qt::AlignCenter, label.text);
    painter.drawRect(area);
    painter.drawText(QRectF(area.left(), area.bottom() + kGap + metrics.height() + kGap / 2,
                            area.width(), metrics.height()),
                     Qt::AlignHCenter, RateTitle());
    painter.drawText(QRectF(0, 0, width(), metrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
                     PsnrTitle());

    // The other mode's curve under this one, then the current result on top, and the legend.
    DrawCurve(painter, m_other, OtherMode(m_mode), false);
    DrawCurve(painter, m_points, m_mode, true);
    if (m_current && Drawable(*m_current)) {
        painter.setPen(QPen(kCurrentColor.darker(130), 1));
        painter.setBrush(kCurrentColor);
        painter.drawEllipse(Position(*m_current), 5.5, 5.5);
    }
    DrawLegend(painter);
}

void RateCurveWidget::DrawCurve(QPainter& painter, const std::vector<CurvePoint>& points,
                                RunMode mode, bool shown) const {
    // The curve that can be clicked is drawn solid, with its points; the other one dashed.
    QPainterPath path;
    for (const CurvePoint& point : points) {
        if (!Drawable(point))
            continue;
        if (path.elementCount() == 0)
            path.moveTo(Position(point));
        else
            path.lineTo(Position(point));
    }
    painter.setPen(QPen(CurveColor(mode), 1.5, shown ? Qt::SolidLine : Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setPen(QPen(CurveColor(mode), 1.5));
    painter.setBrush(palette().color(QPalette::Base));
    const double radius = shown ? 3.5 : 2.0;
    for (const CurvePoint& point : points) {
        if (Drawable(point))
            painter.drawEllipse(Position(point), radius, radius);
    }
}

void RateCurveWidget::DrawLegend(QPainter& painter) const {
    const QFontMetricsF metrics(font());
    const QRectF box = LegendArea();
    painter.setPen(QPen(palette().color(QPalette::Mid), 0));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRect(box);
    const std::vector<std::pair<Entry, QString>> lines = Legend();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto& [entry, text] = lines[i];
        const QRectF row(box.left() + kGap,
                         box.top() + kGap + static_cast<double>(i) * metrics.height(),
                         box.width() - 2 * kGap, metrics.height());
        const QPointF middle(row.left() + kSwatch / 2, row.center().y());
        if (entry == Entry::Current) {
            painter.setPen(QPen(kCurrentColor.darker(130), 1));
            painter.setBrush(kCurrentColor);
            painter.drawEllipse(middle, 4.5, 4.5);
        } else {
            const bool shown = entry == Entry::Curve;
            const QColor color = CurveColor(shown ? m_mode : OtherMode(m_mode));
            painter.setPen(QPen(color, 1.5, shown ? Qt::SolidLine : Qt::DashLine));
            painter.drawLine(QPointF(row.left(), middle.y()),
                             QPointF(row.left() + kSwatch, middle.y()));
            painter.setPen(QPen(color, 1.5));
            painter.setBrush(palette().color(QPalette::Base));
            const double radius = shown ? 3.5 : 2.0;
            painter.drawEllipse(middle, radius, radius);
        }
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(row.adjusted(kSwatch + kGap, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         text);
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
