#pragma once
// A picture at a power-of-two zoom from 1/4 to 16, its pixels drawn as sharp squares (below
// 1 every second or fourth pixel is shown), over a scroll extent of the zoomed picture plus a
// margin of 10 on each side. The picture's top edge is 10 below the extent's top; a picture no
// wider than the client area sits centred and does not scroll sideways, a wider one starts at
// the left margin, so every pixel can be reached at every zoom and window size. Ctrl+wheel
// zooms about the cursor; the scroll bars and dragging with the middle button pan.

#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>
#include <optional>

class QPainter;

namespace zantrel {

class PictureCanvas : public QAbstractScrollArea {
    Q_OBJECT
  public:
    static constexpr int kMinZoomStep = -2;  // 1/4
    static constexpr int kMaxZoomStep = 4;   // 16

    explicit PictureCanvas(QWidget* parent = nullptr);

    // Shows `image`, top row first, at the current zoom; a null image shows only the background.
    void SetImage(QImage image);
    const QImage& Image() const { return m_image; }

    // The zoom is 2 to the power of the step.
    int ZoomStep() const { return m_zoomStep; }
    // Zooms to `step` (kept in range). The picture point under `anchor`, in viewport
    // coordinates (the viewport's centre when none), stays under it as far as the scroll
    // extent allows.
    void SetZoomStep(int step, std::optional<QPoint> anchor = std::nullopt);
    void ZoomIn() { SetZoomStep(m_zoomStep + 1); }
    void ZoomOut() { SetZoomStep(m_zoomStep - 1); }
    void ActualSize() { SetZoomStep(0); }
    // The largest zoom at which the whole picture and its margins fit without scroll bars.
    void FitToWindow();
    // Where a newly opened picture starts, whatever the one before was left at: a zoom of 1,
    // scrolled to the extent's top-left corner.
    void ShowFromStart();
    // Takes the zoom and the scroll position of `other`, whose picture has the same size.
    void Follow(const PictureCanvas& other);

    // The top-left corner of the drawn picture in the scroll extent.
    QPoint Origin() const { return m_origin; }
    // The picture's size on the screen at the current zoom.
    QSize ZoomedSize() const;
    // The picture pixel (x to the right, y down from the top row) drawn at `point` in viewport
    // coordinates; nothing off the picture.
    std::optional<QPoint> PixelAt(QPoint point) const;

  Q_SIGNALS:
    // The zoom or the scroll position changed.
    void ViewChanged();
    // The pointer moved over the viewport: the picture pixel under it, or (-1, -1) when it
    // is off the picture or has left.
    void PixelHovered(QPoint pixel);

  protected:
    // Draws the part of the zoomed picture that lies in `area`, in scroll-extent coordinates.
    void DrawPicture(QPainter& painter, const QRect& area) const;
    // Draws over the picture, in scroll-extent coordinates; nothing by default.
    virtual void DrawOver(QPainter& painter) const;
    // Where picture pixel `pixel` (x to the right, y down, possibly just outside the picture)
    // is drawn, in scroll-extent coordinates.
    QRect PixelSquare(QPoint pixel) const;

    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    // Kept in step with the zoom, the picture and the client area by Layout().
    QPoint m_origin{0, 10};

  private:
    // Places the picture for the current client area and sets the scroll ranges.
    void Layout();
    // The picture as drawn below a zoom of 1: every 2nd or 4th pixel of every 2nd or 4th row.
    void ReduceImage();
    QPoint ScrollPosition() const;

    QImage m_image;
    QImage m_reduced;
    int m_zoomStep = 0;
    bool m_inLayout = false;
    int m_wheelAngle = 0;               // Ctrl+wheel turns not yet used, in eighths of a degree
    std::optional<QPoint> m_dragStart;  // where a middle-button drag began, in viewport pixels
    QPoint m_dragScroll;                // the scroll position when it began
};

}  // namespace zantrel
