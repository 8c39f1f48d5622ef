#include "app/SliderScale.h"

#include <QEvent>
#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <algorithm>
#include <cmath>

namespace zantrel {

namespace {

constexpr double kGap = 6.0;  // between two labels

}  // namespace

SliderScale::SliderScale(QSlider& slider, ValueAt valueAt, QWidget* parent)
    : QWidget(parent), m_slider(slider), m_valueAt(valueAt) {
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    setFont(small);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_slider.installEventFilter(this);
}

void SliderScale::SetValues(ValueAt valueAt) {
    m_valueAt = valueAt;
    updateGeometry();
    update();
}

QSize SliderScale::sizeHint() const {
    // Room for every value, spaced as the ticks are: the slider is as wide where it can be.
    const QFontMetricsF metrics(font());
    const int interval = std::max(1, m_slider.tickInterval());
    double widest = 0.0;
    int ticks = 0;
    for (int position = m_slider.minimum(); position <= m_slider.maximum(); position += interval) {
        widest = std::max(widest,
                          metrics.horizontalAdvance(QString::number(m_valueAt(position), 'g', 6)));
        ++ticks;
    }
    return {static_cast<int>(std::ceil(ticks * (widest + kGap))), minimumSizeHint().height()};
}

QSize SliderScale::minimumSizeHint() const {
    return {0, static_cast<int>(std::ceil(QFontMetricsF(font()).height()))};
}

double SliderScale::TickX(int position) const {
    // As the styles place a tick: the handle's centre at that position.
    QStyleOptionSlider option;
    option.initFrom(&m_slider);
    option.orientation = m_slider.orientation();
    option.minimum = m_slider.minimum();
    option.maximum = m_slider.maximum();
    option.sliderPosition = position;
    option.sliderValue = position;
    option.tickPosition = m_slider.tickPosition();
    option.tickInterval = m_slider.tickInterval();
    option.upsideDown = m_slider.invertedAppearance() != (option.direction == Qt::RightToLeft);
    const int length = m_slider.style()->pixelMetric(QStyle::PM_SliderLength, &option, &m_slider);
    const int at = QStyle::sliderPositionFromValue(option.minimum, option.maximum, position,
                                                   m_slider.width() - length, option.upsideDown) +
                   length / 2;
    return mapFromGlobal(m_slider.mapToGlobal(QPoint(at, 0))).x();
}

std::vector<SliderScale::Label> SliderScale::Labels() const {
    const QFontMetricsF metrics(font());
    const int interval = std::max(1, m_slider.tickInterval());
    std::vector<Label> all;
    for (int position = m_slider.minimum(); position <= m_slider.maximum(); position += interval) {
        const QString text = QString::number(m_valueAt(position), 'g', 6);
        const double width = metrics.horizontalAdvance(text);
        const double left = std::clamp(TickX(position) - width / 2, 0.0,
                                       std::max(0.0, static_cast<double>(this->width()) - width));
        all.push_back({text, QRectF(left, 0, width, metrics.height())});
    }
    if (all.size() < 2)
        return all;
    // The ends first; between them, left to right, every label that keeps its distance.
    std::vector<Label> shown{all.front()};
    for (std::size_t i = 1; i + 1 < all.size(); ++i) {
        if (all[i].rect.left() >= shown.back().rect.right() + kGap &&
            all[i].rect.right() + kGap <= all.back().rect.left())
            shown.push_back(all[i]);
    }
    if (all.back().rect.left() >= shown.back().rect.right() + kGap)
        shown.push_back(all.back());
    return shown;
}

bool SliderScale::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_slider && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        update();
    return QWidget::eventFilter(watched, event);
}

void SliderScale::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    for (const Label& label : Labels())
        painter.drawText(label.rect, Qt::AlignCenter, label.text);
}

}  // namespace zantrel
