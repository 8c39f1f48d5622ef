#pragma once
// The rate–distortion curve of the explore panel: PSNR against the file's bit rate, one point
// per penalty of a ladder, joined in order of rate, with the current result as a highlighted
// point, and beside it the other mode's curve of the same picture where that is known; a legend
// names them. Clicking a point of the curve chooses its penalty.

#include <QStringList>
#include <QWidget>
#include <optional>
#include <utility>
#include <vector>

#include "view/ParameterFields.h"

class QPainter;

namespace zantrel {

struct CurvePoint {
    double penalty;
    double bitrate;  // the file's bits per pixel
    double psnr;     // dB
};

class RateCurveWidget final : public QWidget {
    Q_OBJECT
  public:
    explicit RateCurveWidget(QWidget* parent = nullptr);

    // The ladder's points; none while there is no curve.
    void SetCurve(std::vector<CurvePoint> points);
    const std::vector<CurvePoint>& Curve() const { return m_points; }
    // The mode of that curve, which names it and gives it its colour.
    void SetMode(RunMode mode);
    // The other mode's curve, drawn for comparison (its points choose nothing, since a penalty
    // means another thing there); none while it is not known.
    void SetOtherCurve(std::vector<CurvePoint> points);
    const std::vector<CurvePoint>& OtherCurve() const { return m_other; }
    // Whether the curve is being computed (said where the curve would be).
    void SetComputing(bool computing);
    // The current result, highlighted; nothing for none.
    void SetCurrent(std::optional<CurvePoint> current);
    const std::optional<CurvePoint>& Current() const { return m_current; }

    // Where `point` is drawn, in the widget's coordinates.
    QPointF Position(const CurvePoint& point) const;
    // The frame of the axes; the points are drawn a few pixels inside it.
    QRectF PlotArea() const;

    struct AxisLabel {
        QString text;
        QRectF rect;  // where it is drawn
    };
    // The value labels of both axes, rate first, as they are drawn at the widget's size.
    std::vector<AxisLabel> Labels() const;
    // The sentence shown instead of the axes, or an empty text while there is a curve to draw.
    QString Message() const;
    // The axes' titles, each with its unit: the bit rate's, then the PSNR's.
    QString RateTitle() const;
    QString PsnrTitle() const;
    // The legend's lines, one per curve drawn and one for the current result, and where it is
    // drawn: in the frame's lower right corner, or its upper left one when a point lies there.
    QStringList LegendTexts() const;
    QRectF LegendArea() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  Q_SIGNALS:
    void PenaltyChosen(double penalty);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    struct Range {
        double low;
        double high;
        double step;   // between ticks
        int decimals;  // that tell one tick from the next
        int Ticks() const;
        double Tick(int i) const { return low + i * step; }
        QString Text(int i) const;
    };
    // The point of the curve within reach of `at`, or nullptr.
    const CurvePoint* PointAt(QPointF at) const;
    // The legend's lines: what each stands for, and its text.
    enum class Entry { Curve, OtherCurve, Current };
    std::vector<std::pair<Entry, QString>> Legend() const;
    // The legend's size at the widget's font.
    QSizeF LegendSize() const;
    void DrawCurve(QPainter& painter, const std::vector<CurvePoint>& points, RunMode mode,
                   bool shown) const;
    void DrawLegend(QPainter& painter) const;
    // The margins the labels need at the widget's font.
    QMarginsF Margins() const;
    void UpdateRanges();

    std::vector<CurvePoint> m_points;
    std::vector<CurvePoint> m_other;
    RunMode m_mode = RunMode::Exact;
    std::optional<CurvePoint> m_current;
    bool m_computing = false;
    Range m_rate{0, 1, 0.2, 1};
    Range m_psnr{20, 40, 5, 0};
};

}  // namespace zantrel
