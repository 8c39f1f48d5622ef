#pragma once
// The view: shows the picture of its display mode unscaled, at the picture's own size, with the
// top-left corner at Origin(), in mode 6 with the chosen cut lines in red, over a scroll extent
// of the picture plus 20 each way. It reads the document's pictures and owns only what is
// shown: the display mode and where the picture sits. It also prints what it shows.

#include <QAbstractScrollArea>
#include <QImage>
#include <QPoint>
#include <vector>

#include "view/DisplayMode.h"
#include "view/DocumentPictures.h"

class CDialogHost;
class QPainter;

class CZantrelView final : public QAbstractScrollArea {
    Q_OBJECT
  public:
    // `pictures` must outlive the view.
    CZantrelView(CDialogHost& host, const DocumentPictures& pictures, QWidget* parent = nullptr);

    DisplayMode Mode() const { return m_displayMode; }
    // Shows `mode` and repaints.
    void ShowMode(DisplayMode mode);
    // The top-left corner of the drawn picture in the scroll extent.
    QPoint Origin() const { return m_origin; }

    // Draws the current display mode in logical coordinates (the origin is the top-left of
    // the scroll extent); also used for printing, with the same coordinates and no scaling.
    void OnDraw(QPainter& painter);
    // Reads the document's pictures again and repaints the whole view; call after any change.
    void UpdateAllViews();

    // Ctrl+P: prints the current drawing where the dialog host says.
    void OnFilePrint();

  protected:
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    // Places the picture for a client area of `width` x `height` and sets the scroll ranges.
    void OnSize(int width, int height);
    // Rebuilds the shown image and the cut-line pixels when the document or mode changed.
    void Refresh();

    CDialogHost& m_host;
    const DocumentPictures& m_pictures;
    DisplayMode m_displayMode = DISPLAY_NONE;
    QPoint m_origin{0, 10};
    // Built once per change rather than on every paint: a large picture costs a full copy.
    bool m_stale = true;
    QImage m_shown;
    std::vector<QPoint> m_cutPixels;  // relative to the picture's top-left corner
};
