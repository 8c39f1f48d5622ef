#pragma once
// The values under a slider's ticks, each centred under its tick: both ends always, and those
// between that fit without touching their neighbours. It follows the slider's size and ticks.

#include <QRectF>
#include <QString>
#include <QWidget>
#include <vector>

class QSlider;

namespace zantrel {

class SliderScale final : public QWidget {
    Q_OBJECT
  public:
    // The value at a slider position.
    using ValueAt = double (*)(int position);

    // Labels the ticks of `slider`, which must outlive the scale, with `valueAt`.
    SliderScale(QSlider& slider, ValueAt valueAt, QWidget* parent = nullptr);
    void SetValues(ValueAt valueAt);

    struct Label {
        QString text;
        QRectF rect;  // in the scale's coordinates
    };
    std::vector<Label> Labels() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    // Where the slider draws the tick of `position`, in the scale's coordinates.
    double TickX(int position) const;

    QSlider& m_slider;
    ValueAt m_valueAt;
};

}  // namespace zantrel
